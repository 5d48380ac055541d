#include "sysinfo_launcher.h"

namespace tessaro {

std::optional<std::wstring> FindSysInfo(SysInfoSystem& system) {
    RegistryText path = system.GetKeyValue(kSysInfoPathKey, kSysInfoPathValue);
    if (path.read == ValueRead::Text) {
        if (!system.FileExists(path.text)) return std::nullopt;
        return std::move(path.text);
    }
    if (path.read == ValueRead::NoData) return std::nullopt;

    const RegistryText folder = system.GetKeyValue(kSysInfoFolderKey, kSysInfoFolderValue);
    if (folder.read != ValueRead::Text) return std::nullopt;
    std::wstring program = folder.text + std::wstring(kSysInfoFileName);
    if (!system.OrdinaryFileExists(program)) return std::nullopt;
    return program;
}

void StartSysInfo(SysInfoSystem& system) {
    const std::optional<std::wstring> program = FindSysInfo(system);
    if (!program || !system.StartProgram(*program)) system.ShowUnavailable();
}

}  // namespace tessaro
