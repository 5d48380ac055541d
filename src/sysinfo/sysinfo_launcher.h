#pragma once
// Finds the system's System Information tool through the registry and starts it, or says that
// it is not available. The system is reached through SysInfoSystem so the order of lookups can
// be checked without Windows.

#include <optional>
#include <string>
#include <string_view>

#include "registry_value.h"

namespace tessaro {

inline constexpr std::wstring_view kSysInfoPathKey = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr std::wstring_view kSysInfoPathValue = L"PATH";
inline constexpr std::wstring_view kSysInfoFolderKey = L"SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr std::wstring_view kSysInfoFolderValue = L"MSINFO";
inline constexpr std::wstring_view kSysInfoFileName = L"\\MSINFO32.EXE";
inline constexpr std::wstring_view kSysInfoUnavailable = L"この環境ではシステム情報を使用できません。";

class SysInfoSystem {
public:
    virtual ~SysInfoSystem() = default;
    // A value below HKEY_LOCAL_MACHINE, read-only, as text (REG_EXPAND_SZ already expanded).
    virtual RegistryText GetKeyValue(std::wstring_view keyName, std::wstring_view valueName) = 0;
    // A file (not a folder) exists at path.
    virtual bool FileExists(std::wstring_view path) = 0;
    // An ordinary file exists at path: not a folder, not hidden, not a system file.
    virtual bool OrdinaryFileExists(std::wstring_view path) = 0;
    // Starts the program at path, with path as the program name, shown normally, without waiting.
    virtual bool StartProgram(std::wstring_view path) = 0;
    virtual void ShowUnavailable() = 0;
};

// The program to start, or empty when the tool is not available. The full path in the first
// value is taken as it is, if it names a file; only when that value cannot be read is the
// folder in the second tried. A value that is there with no data at all ends the lookup: the
// tool is then not available, and a value after it is not read.
std::optional<std::wstring> FindSysInfo(SysInfoSystem& system);

void StartSysInfo(SysInfoSystem& system);

}  // namespace tessaro
