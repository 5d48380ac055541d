#pragma once
// Names and order of the slide files ZUMIK01.DAT ... ZUMIK46.DAT beside the executable.

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaro {

inline constexpr std::int16_t kSlideCount = 46;

// "<folder>\ZUMIKnn.DAT"; no second backslash when the folder already ends with one.
std::wstring SlidePath(std::wstring_view applicationFolder, std::int16_t slideNumber);

// The number that follows slideNumber in the cycle 1, 2, ..., slideCount, 1, ...
std::int16_t FollowingSlide(std::int16_t slideNumber, std::int16_t slideCount);

}  // namespace tessaro
