#pragma once
// The System Information launcher's view of the real system: the registry (read-only), files,
// process start and the message box.

#include <windows.h>

#include <string>
#include <string_view>

#include "sysinfo/sysinfo_launcher.h"

namespace tessaro {

// One value below root, as text; REG_EXPAND_SZ values come back expanded.
RegistryText GetKeyValue(HKEY root, std::wstring_view keyName, std::wstring_view valueName);

class WindowsSysInfoSystem final : public SysInfoSystem {
public:
    // owner: the window the failure message is modal to.
    explicit WindowsSysInfoSystem(HWND owner) : owner_(owner) {}

    RegistryText GetKeyValue(std::wstring_view keyName, std::wstring_view valueName) override;
    bool FileExists(std::wstring_view path) override;
    bool OrdinaryFileExists(std::wstring_view path) override;
    bool StartProgram(std::wstring_view path) override;
    void ShowUnavailable() override;

private:
    HWND owner_;
};

}  // namespace tessaro
