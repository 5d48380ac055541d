#include "slides/placement.h"

#include <gtest/gtest.h>

#include "placement_examples.h"

namespace tessaro {
namespace {

TEST(FitSlide, PlacesTheExamples) {
    for (const PlacementExample& c : kPlacementExamples) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        const auto p = FitSlide(kExampleScreenWidth, kExampleScreenHeight, c.width, c.height);
        ASSERT_TRUE(p.has_value());
        EXPECT_EQ(p->fit, c.fit);
        EXPECT_FLOAT_EQ(p->left, c.left);
        EXPECT_FLOAT_EQ(p->top, c.top);
        EXPECT_FLOAT_EQ(p->width, c.placedWidth);
        EXPECT_FLOAT_EQ(p->height, c.placedHeight);
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

TEST(FitSlide, CentresFromTheSizeAsStoredInSinglePrecision) {
    // Sizes where the stored (single-precision) size and the exact one give different centred
    // edges: the edge comes from the size as stored, rounded to single precision.
    struct Case {
        float w, h;
        Fit fit;
    };
    const Case cases[] = {{1100, 100, Fit::FitWidth}, {1033, 100, Fit::FitWidth}, {100, 825, Fit::FitHeight}, {100, 769, Fit::FitHeight}};
    constexpr double W = 1024;
    constexpr double H = 768;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        const auto p = FitSlide(1024, 768, c.w, c.h);
        ASSERT_TRUE(p);
        ASSERT_EQ(p->fit, c.fit);
        const double r = static_cast<double>(c.w) / c.h;
        if (c.fit == Fit::FitWidth) {
            const float stored = static_cast<float>(W / r);
            EXPECT_EQ(p->height, stored);
            EXPECT_EQ(p->top, static_cast<float>((H - stored) / 2));
            ASSERT_NE(p->top, static_cast<float>((H - W / r) / 2)) << "this size does not tell the two apart";
        } else {
            const float stored = static_cast<float>(H * r);
            EXPECT_EQ(p->width, stored);
            EXPECT_EQ(p->left, static_cast<float>((W - stored) / 2));
            ASSERT_NE(p->left, static_cast<float>((W - H * r) / 2)) << "this size does not tell the two apart";
        }
    }
}

TEST(FitSlide, ZeroHeightCannotBePlaced) {
    EXPECT_FALSE(FitSlide(1024, 768, 100, 0).has_value());
    EXPECT_FALSE(FitSlide(1024, 768, 0, 0).has_value());
}

TEST(DeviceRect, RoundsEachEdgeHalfUp) {
    for (const PlacementExample& c : kPlacementExamples) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        const PixelRect r = ToDeviceRect(*FitSlide(kExampleScreenWidth, kExampleScreenHeight, c.width, c.height));
        EXPECT_EQ(r.left, c.pixels.left);
        EXPECT_EQ(r.top, c.pixels.top);
        EXPECT_EQ(r.right, c.pixels.right);
        EXPECT_EQ(r.bottom, c.pixels.bottom);
    }
}

}  // namespace
}  // namespace tessaro
