#include "sysinfo_launcher.h"

namespace tessaro {

std::optional<std::wstring> FindSysInfo(SysInfoSystem& system) {
    // The full path of the tool; when it is set, the folder entry is not consulted.
    if (std::optional<std::wstring> path = system.GetKeyValue(kSysInfoPathKey, kSysInfoPathValue)) {
        if (!system.FileExists(*path)) return std::nullopt;
        return path;
    }
    std::optional<std::wstring> folder = system.GetKeyValue(kSysInfoFolderKey, kSysInfoFolderValue);
    if (!folder) return std::nullopt;
    std::wstring path = *folder + std::wstring(kSysInfoFileName);
    if (!system.OrdinaryFileExists(path)) return std::nullopt;
    return path;
}

void StartSysInfo(SysInfoSystem& system) {
    const std::optional<std::wstring> program = FindSysInfo(system);
    if (!program || !system.StartProgram(*program)) system.ShowUnavailable();
}

}  // namespace tessaro
