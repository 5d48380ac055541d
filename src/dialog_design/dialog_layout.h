#pragma once
// Geometry of the settings dialog and the About box, designed in twips (1/1440 inch, 15 twips
// to a pixel at 96 DPI) and converted to whole pixels at the DPI of the monitor the dialog is on,
// when it opens and again whenever that DPI changes.

namespace tessaro {

struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

struct PixelBox {
    int left;
    int top;
    int width;
    int height;
    bool operator==(const PixelBox&) const = default;
};

// Rounded to the nearest pixel, halves away from zero.
constexpr int TwipsToPixels(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + 720) / 1440 : -((-scaled + 720) / 1440));
}

constexpr PixelBox ToPixels(TwipsRect r, int dpi) {
    return PixelBox{TwipsToPixels(r.left, dpi), TwipsToPixels(r.top, dpi), TwipsToPixels(r.width, dpi),
                    TwipsToPixels(r.height, dpi)};
}

// A font height as LOGFONT takes it, for a font of `points` at dpi: negative, the character
// height in pixels, rounded as MulDiv rounds.
int FontHeight(int points, int dpi);

// A font height designed at one DPI, for another.
int ScaledFontHeight(int height, int fromDpi, int toDpi);

namespace settings_layout {
inline constexpr int kClientWidth = 6495;
inline constexpr int kClientHeight = 1095;
inline constexpr TwipsRect kOk{5160, 120, 1215, 375};
inline constexpr TwipsRect kCancel{5160, 600, 1215, 375};
inline constexpr TwipsRect kLabel{120, 240, 3135, 255};
}  // namespace settings_layout

namespace about_layout {
inline constexpr int kClientWidth = 6105;
inline constexpr int kClientHeight = 2880;
inline constexpr TwipsRect kOk{4560, 1980, 1380, 345};
inline constexpr TwipsRect kIcon{240, 240, 480, 480};
inline constexpr TwipsRect kSysInfo{4560, 2400, 1380, 345};
inline constexpr TwipsRect kTitle{1050, 240, 4905, 285};
inline constexpr TwipsRect kVersion{1050, 600, 4905, 225};
inline constexpr TwipsRect kCompanyName{180, 930, 5760, 225};
inline constexpr TwipsRect kLegalCopyright{180, 1200, 5820, 450};
inline constexpr int kTitleFontPoints = 9;
// The double separator: a white line 2 pixels wide over a grey line 1 pixel wide.
inline constexpr int kLineLeft = 120;
inline constexpr int kLineRight = 6000;
inline constexpr int kWhiteLineY = 1800;
}  // namespace about_layout

struct SettingsDialogLayout {
    int clientWidth;
    int clientHeight;
    PixelBox ok;
    PixelBox cancel;
    PixelBox label;
};

struct AboutBoxLayout {
    int clientWidth;
    int clientHeight;
    PixelBox ok;
    PixelBox icon;  // also the icon's size
    PixelBox sysInfo;
    PixelBox title;
    PixelBox version;
    PixelBox companyName;
    PixelBox legalCopyright;
    PixelBox whiteLine;
    PixelBox greyLine;
    int titleFontHeight;
};

SettingsDialogLayout LayOutSettingsDialog(int dpi);
AboutBoxLayout LayOutAboutBox(int dpi);

}  // namespace tessaro
