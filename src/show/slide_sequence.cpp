#include "slide_sequence.h"

namespace tessaro {

std::wstring ApplicationFolder(std::wstring_view executablePath) {
    const std::size_t slash = executablePath.find_last_of(L"\\/");
    if (slash == std::wstring_view::npos) return std::wstring(executablePath);
    std::wstring_view folder = executablePath.substr(0, slash);
    // "C:" alone would mean the drive's current folder, not its root.
    if (folder.size() == 2 && folder[1] == L':') folder = executablePath.substr(0, slash + 1);
    return std::wstring(folder);
}

std::wstring SlidePath(std::wstring_view applicationFolder, std::int16_t slideNumber) {
    std::wstring path(applicationFolder);
    path += (!path.empty() && path.back() == L'\\') ? L"ZUMIK" : L"\\ZUMIK";
    std::wstring digits = std::to_wstring(slideNumber);
    if (slideNumber >= 0 && digits.size() < 2) digits.insert(0, 1, L'0');
    path += digits;
    path += L".DAT";
    return path;
}

std::int16_t FollowingSlide(std::int16_t slideNumber, std::int16_t slideCount) {
    // Widened so that the step past 32767 cannot overflow.
    const int next = static_cast<int>(slideNumber) + 1;
    return next > slideCount ? std::int16_t{1} : static_cast<std::int16_t>(next);
}

}  // namespace tessaro
