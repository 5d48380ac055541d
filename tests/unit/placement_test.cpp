#include "saver/placement.h"

#include <gtest/gtest.h>

namespace tessaro {
namespace {

// Every example is on a 1024 x 768 screen.
TEST(FitSlide, PlacesTheDocumentedExamples) {
    struct Case {
        float w, h;
        Fit fit;
        bool stretch;
        float left, top, width, height;
    };
    const Case cases[] = {
        {800, 600, Fit::Natural, false, 112, 84, 800, 600},
        {1023, 767, Fit::Natural, false, 0.5f, 0.5f, 1023, 767},
        {1024, 768, Fit::FitHeight, true, 0, 0, 1024, 768},       // not strictly smaller; equal ratio
        {1600, 1200, Fit::FitHeight, true, 0, 0, 1024, 768},
        {2000, 500, Fit::FitWidth, true, 0, 256, 1024, 256},
        {1024, 500, Fit::FitWidth, true, 0, 134, 1024, 500},
        {1200, 400, Fit::FitWidth, true, 0, 213.33333f, 1024, 341.33334f},
        {500, 2000, Fit::FitHeight, true, 416, 0, 192, 768},
        {800, 1000, Fit::FitHeight, true, 204.8f, 0, 614.4f, 768},
        {768, 768, Fit::FitHeight, true, 128, 0, 768, 768},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        const auto p = FitSlide(1024, 768, c.w, c.h);
        ASSERT_TRUE(p.has_value());
        EXPECT_EQ(p->fit, c.fit);
        EXPECT_EQ(p->stretch, c.stretch);
        EXPECT_FLOAT_EQ(p->left, c.left);
        EXPECT_FLOAT_EQ(p->top, c.top);
        EXPECT_FLOAT_EQ(p->width, c.width);
        EXPECT_FLOAT_EQ(p->height, c.height);
    }
}

TEST(FitSlide, EqualRatiosFitLandscapeToTheHeightAndUprightToTheWidth) {
    // A 4:3 picture on a 4:3 screen is landscape: fitted to the height.
    EXPECT_EQ(FitSlide(1024, 768, 2048, 1536)->fit, Fit::FitHeight);
    // A square picture on a square screen: fitted to the width.
    EXPECT_EQ(FitSlide(800, 800, 1600, 1600)->fit, Fit::FitWidth);
    // An upright picture with the screen's own ratio: fitted to the width.
    EXPECT_EQ(FitSlide(768, 1024, 1536, 2048)->fit, Fit::FitWidth);
}

TEST(FitSlide, KeepsSinglePrecisionOfEveryStoredValue) {
    // 1200 x 400 fitted to 1024 wide: the height is 1024 / 3 held in single precision, and the
    // top is worked out from that stored height, not from the exact third.
    const auto p = FitSlide(1024, 768, 1200, 400);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->height, static_cast<float>(1024.0 / 3.0));
    EXPECT_EQ(p->top, static_cast<float>((768.0 - static_cast<float>(1024.0 / 3.0)) / 2.0));
}

TEST(FitSlide, ZeroHeightCannotBePlaced) {
    EXPECT_FALSE(FitSlide(1024, 768, 100, 0).has_value());
    EXPECT_FALSE(FitSlide(1024, 768, 0, 0).has_value());
}

TEST(DeviceRect, RoundsEachEdgeHalfUp) {
    struct Case {
        float w, h;
        PixelRect expected;
    };
    const Case cases[] = {
        {800, 600, {112, 84, 912, 684}},
        {1023, 767, {1, 1, 1024, 768}},      // a natural picture keeps its exact size
        {1200, 400, {0, 213, 1024, 555}},    // 213.33 .. 554.67
        {800, 1000, {205, 0, 819, 768}},     // 204.8 .. 819.2
        {500, 2000, {416, 0, 608, 768}},
        {1600, 1200, {0, 0, 1024, 768}},
    };
    for (const Case& c : cases) {
        const PixelRect r = ToDeviceRect(*FitSlide(1024, 768, c.w, c.h));
        EXPECT_EQ(r.left, c.expected.left) << c.w << "x" << c.h;
        EXPECT_EQ(r.top, c.expected.top) << c.w << "x" << c.h;
        EXPECT_EQ(r.right, c.expected.right) << c.w << "x" << c.h;
        EXPECT_EQ(r.bottom, c.expected.bottom) << c.w << "x" << c.h;
    }
}

}  // namespace
}  // namespace tessaro
