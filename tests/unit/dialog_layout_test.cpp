#include "dialogs/dialog_layout.h"

#include <gtest/gtest.h>

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

TEST(DialogLayout, ControlsAtNinetySixDpi) {
    struct Case {
        TwipsRect design;
        PixelBox expected;
    };
    const Case cases[] = {
        {settings_layout::kOk, {344, 8, 81, 25}},
        {settings_layout::kCancel, {344, 40, 81, 25}},
        {settings_layout::kLabel, {8, 16, 209, 17}},
        {about_layout::kOk, {304, 132, 92, 23}},
        {about_layout::kIcon, {16, 16, 32, 32}},
        {about_layout::kSysInfo, {304, 160, 92, 23}},
        {about_layout::kTitle, {70, 16, 327, 19}},
        {about_layout::kLegalCopyright, {12, 80, 388, 30}},
    };
    for (const Case& c : cases) {
        const PixelBox box = ToPixels(c.design, 96);
        EXPECT_EQ(box.left, c.expected.left);
        EXPECT_EQ(box.top, c.expected.top);
        EXPECT_EQ(box.width, c.expected.width);
        EXPECT_EQ(box.height, c.expected.height);
    }
}

}  // namespace
}  // namespace tessaro
