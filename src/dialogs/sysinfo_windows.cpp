#include "sysinfo_windows.h"

#include <array>
#include <cstdint>

#include "common/application.h"
#include "common/long_path.h"
#include "sysinfo/registry_value.h"
#include "win32/unique_resource.h"

namespace tessaro {
namespace {

std::optional<std::wstring> ExpandEnvironment(const std::wstring& text) {
    std::wstring expanded(text.size() + 1, L'\0');
    for (;;) {
        const DWORD needed = ::ExpandEnvironmentStringsW(text.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
        if (needed == 0) return std::nullopt;
        if (needed <= expanded.size()) {
            expanded.resize(needed - 1);  // the count includes the terminating zero
            return expanded;
        }
        expanded.resize(needed);
    }
}

std::optional<DWORD> FileAttributes(std::wstring_view path) {
    const DWORD attributes = ::GetFileAttributesW(ExtendedLengthPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return attributes;
}

}  // namespace

RegistryText GetKeyValue(HKEY root, std::wstring_view keyName, std::wstring_view valueName) {
    UniqueHkey key;
    // Read rights only: a standard user may read these keys but not write them.
    if (::RegOpenKeyExW(root, std::wstring(keyName).c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
        return RegistryText{};
    }
    std::array<std::uint8_t, kRegistryValueBufferBytes> buffer{};
    DWORD type = 0;
    DWORD byteCount = static_cast<DWORD>(buffer.size());
    if (::RegQueryValueExW(key.get(), std::wstring(valueName).c_str(), nullptr, &type, buffer.data(), &byteCount) !=
        ERROR_SUCCESS) {
        return RegistryText{};  // missing, or larger than the buffer
    }
    RegistryText value = ConvertRegistryValue(type, buffer.data(), byteCount);
    if (!value.needsExpansion) return value;
    std::optional<std::wstring> expanded = ExpandEnvironment(value.text);
    if (!expanded) return RegistryText{};
    return RegistryText{ValueRead::Text, std::move(*expanded)};
}

RegistryText WindowsSysInfoSystem::GetKeyValue(std::wstring_view keyName, std::wstring_view valueName) {
    return tessaro::GetKeyValue(HKEY_LOCAL_MACHINE, keyName, valueName);
}

bool WindowsSysInfoSystem::FileExists(std::wstring_view path) {
    const std::optional<DWORD> attributes = FileAttributes(path);
    return attributes && !(*attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WindowsSysInfoSystem::OrdinaryFileExists(std::wstring_view path) {
    const std::optional<DWORD> attributes = FileAttributes(path);
    return attributes && !(*attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

bool WindowsSysInfoSystem::StartProgram(std::wstring_view path) {
    // The program is named explicitly, so a path with blanks is never split at a blank; the
    // command line repeats it in quotes, as the program's own argv[0].
    const std::wstring application = ExtendedLengthPath(path);
    std::wstring commandLine = L"\"" + std::wstring(path) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        return false;
    }
    // Not waited for: the handles are given back at once.
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    return true;
}

void WindowsSysInfoSystem::ShowUnavailable() {
    ::MessageBoxW(owner_, std::wstring(kSysInfoUnavailable).c_str(), kApplicationTitle, MB_OK);
}

}  // namespace tessaro
