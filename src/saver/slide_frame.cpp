#include "slide_frame.h"

#include <algorithm>

#include "resample.h"

namespace tessaro {

bool IsDecodableSize(std::uint64_t width, std::uint64_t height) {
    return width > 0 && height > 0 && width <= kMaxSlidePixels && height <= kMaxSlidePixels &&
           width * height <= kMaxSlidePixels;
}

std::optional<SlideFrame> ComposeSlide(const Bitmap& picture, int screenWidth, int screenHeight) {
    if (screenWidth <= 0 || screenHeight <= 0) return std::nullopt;
    const std::optional<Placement> placement =
        FitSlide(static_cast<float>(screenWidth), static_cast<float>(screenHeight),
                 static_cast<float>(picture.width), static_cast<float>(picture.height));
    if (!placement) return std::nullopt;

    SlideFrame frame{Bitmap(screenWidth, screenHeight, kOpaqueBlack), ToDeviceRect(*placement)};
    const PixelRect& rect = frame.picture;
    if (rect.Width() <= 0 || rect.Height() <= 0) return frame;

    const Bitmap scaled = Resample(picture, rect.Width(), rect.Height());
    const int x0 = std::max(rect.left, 0);
    const int x1 = std::min(rect.right, screenWidth);
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, screenHeight); ++y) {
        for (int x = x0; x < x1; ++x) {
            // Transparent parts were premultiplied onto black by the decoder: only force opacity.
            frame.screen.At(x, y) = scaled.At(x - rect.left, y - rect.top) | kOpaqueBlack;
        }
    }
    return frame;
}

}  // namespace tessaro
