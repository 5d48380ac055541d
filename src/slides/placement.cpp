#include "placement.h"

#include <cmath>

namespace tessaro {
namespace {

// A placement is reckoned in single precision: each value is rounded to a float as it is set,
// and the formulas after it use the rounded value (a fitted picture's centring, its size).
float Stored(double value) { return static_cast<float>(value); }

bool AllFinite(const Placement& p) {
    return std::isfinite(p.left) && std::isfinite(p.top) && std::isfinite(p.width) &&
           std::isfinite(p.height);
}

}  // namespace

std::optional<Placement> FitSlide(float screenWidth, float screenHeight, float pictureWidth,
                                  float pictureHeight) {
    const double W = screenWidth;
    const double H = screenHeight;
    const float w = pictureWidth;
    const float h = pictureHeight;
    if (h == 0.0f) return std::nullopt;  // the ratio below would divide by zero

    const double r = static_cast<double>(w) / static_cast<double>(h);
    const float ap = w / h;
    const float as = screenWidth / screenHeight;

    if (W > w && H > h) {
        return Placement{Fit::Natural, Stored((W - w) / 2), Stored((H - h) / 2), w, h};
    }

    const bool landscape = w > h;
    const bool fitWidth = landscape ? (as < ap) : (as <= ap);
    Placement p{};
    if (fitWidth) {
        p.fit = Fit::FitWidth;
        p.width = Stored(W);
        p.height = Stored(W / r);
        p.left = 0.0f;
        p.top = Stored((H - p.height) / 2);
    } else {
        p.fit = Fit::FitHeight;
        p.height = Stored(H);
        p.width = Stored(H * r);
        p.left = Stored((W - p.width) / 2);
        p.top = 0.0f;
    }
    if (!AllFinite(p)) return std::nullopt;
    return p;
}

PixelRect ToDeviceRect(const Placement& placement) {
    const auto edge = [](double value) { return static_cast<int>(std::floor(value + 0.5)); };
    const double left = placement.left;
    const double top = placement.top;
    return PixelRect{edge(left), edge(top), edge(left + placement.width),
                     edge(top + placement.height)};
}

}  // namespace tessaro
