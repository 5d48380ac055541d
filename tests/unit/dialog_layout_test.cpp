#include "dialog_design/dialog_layout.h"

#include <gtest/gtest.h>

#include "layout_printing.h"

namespace tessaro {
namespace {

TEST(DialogLayout, TwipsBecomePixelsAtTheMonitorDpi) {
    struct Case {
        int twips, dpi, pixels;
    };
    const Case cases[] = {
        {6495, 96, 433}, {1095, 96, 73}, {6105, 96, 407}, {2880, 96, 192},
        {15, 96, 1},     {7, 96, 0},     {8, 96, 1},      {1095, 144, 110}, // 109.5 rounds up
        {6495, 192, 866}, {-15, 96, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
}

TEST(DialogLayout, FontHeightsFollowTheDpi) {
    struct Case {
        int points, dpi, height;
    };
    const Case cases[] = {{9, 96, -12}, {9, 120, -15}, {9, 144, -18}, {9, 192, -24}, {10, 120, -17}, {8, 96, -11}};
    for (const Case& c : cases) EXPECT_EQ(FontHeight(c.points, c.dpi), c.height) << c.points << " points at " << c.dpi;
    EXPECT_EQ(ScaledFontHeight(-12, 96, 144), -18);
    EXPECT_EQ(ScaledFontHeight(-11, 96, 120), -14);  // -13.75
    EXPECT_EQ(ScaledFontHeight(-18, 144, 96), -12);
}

TEST(DialogLayout, SettingsDialogAtEachDpi) {
    struct Case {
        int dpi;
        int clientWidth, clientHeight;
        PixelBox ok, cancel, label;
    };
    const Case cases[] = {
        {96, 433, 73, {344, 8, 81, 25}, {344, 40, 81, 25}, {8, 16, 209, 17}},
        {120, 541, 91, {430, 10, 101, 31}, {430, 50, 101, 31}, {10, 20, 261, 21}},
        {144, 650, 110, {516, 12, 122, 38}, {516, 60, 122, 38}, {12, 24, 314, 26}},
        {192, 866, 146, {688, 16, 162, 50}, {688, 80, 162, 50}, {16, 32, 418, 34}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dpi << " DPI");
        const SettingsDialogLayout layout = LayOutSettingsDialog(c.dpi);
        EXPECT_EQ(layout.clientWidth, c.clientWidth);
        EXPECT_EQ(layout.clientHeight, c.clientHeight);
        EXPECT_EQ(layout.ok, c.ok);
        EXPECT_EQ(layout.cancel, c.cancel);
        EXPECT_EQ(layout.label, c.label);
    }
}

TEST(DialogLayout, AboutBoxAtEachDpi) {
    struct Case {
        int dpi;
        int clientWidth, clientHeight;
        PixelBox ok, icon, sysInfo, title, version, companyName, legalCopyright, whiteLine, greyLine;
        int titleFontHeight;
    };
    const Case cases[] = {
        {96, 407, 192, {304, 132, 92, 23}, {16, 16, 32, 32}, {304, 160, 92, 23}, {70, 16, 327, 19}, {70, 40, 327, 15},
         {12, 62, 384, 15}, {12, 80, 388, 30}, {8, 120, 392, 2}, {8, 122, 392, 1}, -12},
        {120, 509, 240, {380, 165, 115, 29}, {20, 20, 40, 40}, {380, 200, 115, 29}, {88, 20, 409, 24}, {88, 50, 409, 19},
         {15, 78, 480, 19}, {15, 100, 485, 38}, {10, 150, 490, 2}, {10, 152, 490, 1}, -15},
        {144, 611, 288, {456, 198, 138, 35}, {24, 24, 48, 48}, {456, 240, 138, 35}, {105, 24, 491, 29},
         {105, 60, 491, 23}, {18, 93, 576, 23}, {18, 120, 582, 45}, {12, 180, 588, 4}, {12, 184, 588, 2}, -18},
        {192, 814, 384, {608, 264, 184, 46}, {32, 32, 64, 64}, {608, 320, 184, 46}, {140, 32, 654, 38},
         {140, 80, 654, 30}, {24, 124, 768, 30}, {24, 160, 776, 60}, {16, 240, 784, 4}, {16, 244, 784, 2}, -24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dpi << " DPI");
        const AboutBoxLayout layout = LayOutAboutBox(c.dpi);
        EXPECT_EQ(layout.clientWidth, c.clientWidth);
        EXPECT_EQ(layout.clientHeight, c.clientHeight);
        EXPECT_EQ(layout.ok, c.ok);
        EXPECT_EQ(layout.icon, c.icon);
        EXPECT_EQ(layout.sysInfo, c.sysInfo);
        EXPECT_EQ(layout.title, c.title);
        EXPECT_EQ(layout.version, c.version);
        EXPECT_EQ(layout.companyName, c.companyName);
        EXPECT_EQ(layout.legalCopyright, c.legalCopyright);
        EXPECT_EQ(layout.whiteLine, c.whiteLine) << "white, two thin lines thick";
        EXPECT_EQ(layout.greyLine, c.greyLine) << "grey, one thin line thick, right under the white";
        EXPECT_EQ(layout.titleFontHeight, c.titleFontHeight);
    }
}

}  // namespace
}  // namespace tessaro
