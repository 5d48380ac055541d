#pragma once
// Where a slide goes on the screen: natural size and centred when it is smaller than the
// screen both ways, otherwise scaled with its aspect ratio kept until it touches two opposite
// edges, and centred the other way.

#include <optional>

namespace tessaro {

enum class Fit { Natural, FitWidth, FitHeight };

// Position and size in (fractional) pixels of the client area, single precision.
struct Placement {
    Fit fit;
    float left;
    float top;
    float width;
    float height;
};

// Whole device pixels: [left, right) x [top, bottom).
struct PixelRect {
    int left;
    int top;
    int right;
    int bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// screenWidth/Height: client size of the saver window; pictureWidth/Height: the picture's
// natural size. Empty when the arithmetic fails (a picture of height 0).
std::optional<Placement> FitSlide(float screenWidth, float screenHeight, float pictureWidth,
                                  float pictureHeight);

// Each edge is rounded to the nearest pixel, halves upwards: left = floor(left + 0.5),
// right = floor(left + width + 0.5), and the same for top and bottom. Rounding edges rather
// than sizes keeps a picture shown at natural size exactly its own size.
PixelRect ToDeviceRect(const Placement& placement);

}  // namespace tessaro
