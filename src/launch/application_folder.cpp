#include "application_folder.h"

namespace tessaro {

std::wstring ApplicationFolder(std::wstring_view executablePath) {
    const std::size_t slash = executablePath.find_last_of(L"\\/");
    if (slash == std::wstring_view::npos) return std::wstring(executablePath);
    std::wstring_view folder = executablePath.substr(0, slash);
    // "C:" alone would mean the drive's current folder, not its root.
    if (folder.size() == 2 && folder[1] == L':') folder = executablePath.substr(0, slash + 1);
    return std::wstring(folder);
}

}  // namespace tessaro
