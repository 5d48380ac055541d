#pragma once
// Turns a decoded slide into the whole screen as it will be shown: black, with the picture
// placed and scaled. Independent of any window, so it can run on any thread.

#include <cstdint>
#include <optional>

#include "bitmap.h"
#include "placement.h"

namespace tessaro {

// Pictures larger than this are refused before they are decoded: 50 million pixels take
// 200 MB as 32-bit pixels, plus the scaler's working rows.
inline constexpr std::uint64_t kMaxSlidePixels = 50'000'000;

bool IsDecodableSize(std::uint64_t width, std::uint64_t height);

struct SlideFrame {
    Bitmap screen;      // screen-sized, opaque
    PixelRect picture;  // where the picture landed
};

// Empty when the picture cannot be placed (zero height) or the screen size is empty.
std::optional<SlideFrame> ComposeSlide(const Bitmap& picture, int screenWidth, int screenHeight);

}  // namespace tessaro
