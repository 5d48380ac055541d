#include "dialog_layout.h"

namespace tessaro {
namespace {

constexpr int kDefaultDpi = 96;

// a * b / c rounded to the nearest integer, halves away from zero, as MulDiv does.
int MulDivRounded(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long magnitude = ((product < 0 ? -product : product) + c / 2) / c;
    return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

}  // namespace

int FontHeight(int points, int dpi) { return -MulDivRounded(points, dpi, 72); }

int ScaledFontHeight(int height, int fromDpi, int toDpi) { return MulDivRounded(height, toDpi, fromDpi); }

SettingsDialogLayout LayOutSettingsDialog(int dpi) {
    using namespace settings_layout;
    return {TwipsToPixels(kClientWidth, dpi), TwipsToPixels(kClientHeight, dpi), ToPixels(kOk, dpi),
            ToPixels(kCancel, dpi), ToPixels(kLabel, dpi)};
}

AboutBoxLayout LayOutAboutBox(int dpi) {
    using namespace about_layout;
    // The lines are whole pixels thick at any DPI, the grey one right under the white one, so
    // that rounding can neither part them nor lay one over the other.
    const int thin = MulDivRounded(1, dpi, kDefaultDpi);
    const int left = TwipsToPixels(kLineLeft, dpi);
    const int width = TwipsToPixels(kLineRight, dpi) - left;
    const PixelBox whiteLine{left, TwipsToPixels(kWhiteLineY, dpi), width, 2 * thin};
    const PixelBox greyLine{left, whiteLine.top + whiteLine.height, width, thin};
    return {TwipsToPixels(kClientWidth, dpi),
            TwipsToPixels(kClientHeight, dpi),
            ToPixels(kOk, dpi),
            ToPixels(kIcon, dpi),
            ToPixels(kSysInfo, dpi),
            ToPixels(kTitle, dpi),
            ToPixels(kVersion, dpi),
            ToPixels(kCompanyName, dpi),
            ToPixels(kLegalCopyright, dpi),
            whiteLine,
            greyLine,
            FontHeight(kTitleFontPoints, dpi)};
}

}  // namespace tessaro
