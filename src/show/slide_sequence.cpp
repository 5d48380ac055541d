#include "slide_sequence.h"

namespace tessaro {

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
