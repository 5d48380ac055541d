#include "saver/slide_frame.h"

#include <gtest/gtest.h>

#include "placement_examples.h"

namespace tessaro {
namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u;

// Counts how many screen pixels differ from black, and checks that they are exactly the rect.
void ExpectPictureExactlyIn(const SlideFrame& frame, const PixelRect& rect, std::uint32_t colour) {
    for (int y = 0; y < frame.screen.height; ++y) {
        for (int x = 0; x < frame.screen.width; ++x) {
            const bool inside = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
            ASSERT_EQ(frame.screen.At(x, y), inside ? colour : kOpaqueBlack) << "pixel " << x << "," << y;
        }
    }
}

TEST(ComposeSlide, PutsThePictureOnBlackAtItsDeviceRect) {
    for (const PlacementExample& c : kPlacementExamples) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        const auto frame = ComposeSlide(Bitmap(c.width, c.height, kRed), kExampleScreenWidth, kExampleScreenHeight);
        ASSERT_TRUE(frame);
        ExpectPictureExactlyIn(*frame, c.pixels, kRed);
    }
}

TEST(ComposeSlide, TransparencyShowsTheBlackBackground) {
    // Premultiplied half-transparent red (as decoded) becomes dark red on black, fully opaque.
    const auto frame = ComposeSlide(Bitmap(10, 10, 0x80800000u), 100, 100);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->screen.At(50, 50), 0xFF800000u);
}

TEST(ComposeSlide, RefusesWhatCannotBePlaced) {
    EXPECT_FALSE(ComposeSlide(Bitmap(10, 0), 1024, 768));
    EXPECT_FALSE(ComposeSlide(Bitmap(10, 10), 0, 768));
}

TEST(DecodableSize, BoundsThePixelCountBeforeDecoding) {
    EXPECT_TRUE(IsDecodableSize(1, 1));
    EXPECT_TRUE(IsDecodableSize(8000, 5000));
    EXPECT_TRUE(IsDecodableSize(kMaxSlidePixels, 1));
    EXPECT_FALSE(IsDecodableSize(kMaxSlidePixels + 1, 1));
    EXPECT_FALSE(IsDecodableSize(10000, 10000));
    EXPECT_FALSE(IsDecodableSize(0, 768));
    EXPECT_FALSE(IsDecodableSize(1024, 0));
    EXPECT_FALSE(IsDecodableSize(0xFFFFFFFFu, 0xFFFFFFFFu)) << "the product must not wrap around";
}

}  // namespace
}  // namespace tessaro
