#include "slides/slide_frame.h"

#include <gtest/gtest.h>

#include "placement_examples.h"

namespace tessaro {
namespace {

struct Spot {
    int x, y;
};

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
    EXPECT_FALSE(ComposeSlide(Bitmap(1 << 21, 2), 1 << 20, 1)) << "halved both ways: over the scaling budget";
}

TEST(PlanSlide, PlacesThePictureByItsUprightSize) {
    struct Case {
        PictureSize stored;
        Orientation orientation;
        PixelRect expected;
        PictureSize scaled;  // in the stored orientation
    };
    const Case cases[] = {
        {{400, 300}, Orientation::Normal, {312, 234, 712, 534}, {400, 300}},
        {{400, 300}, Orientation::Rotate180, {312, 234, 712, 534}, {400, 300}},
        {{400, 300}, Orientation::Rotate90, {362, 184, 662, 584}, {400, 300}},   // upright 300 x 400
        {{400, 300}, Orientation::Transpose, {362, 184, 662, 584}, {400, 300}},
        {{1600, 1000}, Orientation::Normal, {0, 64, 1024, 704}, {1024, 640}},
        {{1600, 1000}, Orientation::Rotate270, {272, 0, 752, 768}, {768, 480}},  // upright 1000 x 1600: fit height
        {{3, 6000}, Orientation::Rotate90, {0, 384, 1024, 384}, {0, 1024}},      // a line too thin to draw
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.stored.width << "x" << c.stored.height << " orientation "
                                        << static_cast<int>(c.orientation));
        const auto plan = PlanSlide(1024, 768, c.stored, c.orientation);
        ASSERT_TRUE(plan);
        EXPECT_EQ(plan->picture.left, c.expected.left);
        EXPECT_EQ(plan->picture.top, c.expected.top);
        EXPECT_EQ(plan->picture.right, c.expected.right);
        EXPECT_EQ(plan->picture.bottom, c.expected.bottom);
        EXPECT_EQ(plan->scaled.width, c.scaled.width);
        EXPECT_EQ(plan->scaled.height, c.scaled.height);
    }
    // What the arithmetic cannot take is refused, not wrapped around.
    EXPECT_FALSE(PlanSlide(1024, 768, {0, 10}, Orientation::Normal));
    EXPECT_FALSE(PlanSlide(1024, 768, {kMaxPictureSide + 1, 10}, Orientation::Normal));
    EXPECT_FALSE(PlanSlide(1024, 768, {10, 0xFFFFFFFFu}, Orientation::Rotate90));
    EXPECT_FALSE(PlanSlide(2605, 674061736, {2206, 3491}, Orientation::Normal)) << "a screen single precision cannot centre on";
    EXPECT_FALSE(PlanSlide(kMaxScreenSide + 3, 768, {20000000, 10}, Orientation::Normal)) << "nor fit to its edges";
    EXPECT_TRUE(PlanSlide(kMaxScreenSide, kMaxScreenSide, {1, 1}, Orientation::Normal)) << "the largest screen it takes";
    EXPECT_TRUE(PlanSlide(1024, 768, {120000, 90000}, Orientation::Normal)) << "any size the arithmetic takes";
}

TEST(ComposeSlide, TurnsThePictureUpright) {
    // A 200 x 100 picture, green with a red mark in its top-left corner as stored, shown at its
    // natural size in the middle of a 400 x 400 screen: the corner of the upright picture where
    // the mark lands tells every orientation from the others, mirrors from turns.
    constexpr std::uint32_t kGreen = 0xFF00FF00u;
    Bitmap picture(200, 100, kGreen);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) picture.At(x, y) = kRed;
    enum Corner { TopLeft, TopRight, BottomRight, BottomLeft };
    struct Case {
        Orientation orientation;
        Corner mark;
    };
    const Case cases[] = {
        {Orientation::Normal, TopLeft},         {Orientation::MirrorHorizontal, TopRight},
        {Orientation::Rotate180, BottomRight},  {Orientation::MirrorVertical, BottomLeft},
        {Orientation::Transpose, TopLeft},      {Orientation::Rotate90, TopRight},
        {Orientation::Transverse, BottomRight}, {Orientation::Rotate270, BottomLeft},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "orientation " << static_cast<int>(c.orientation));
        const auto frame = ComposeSlide(picture, 400, 400, c.orientation);
        ASSERT_TRUE(frame);
        const PixelRect& at = frame->picture;
        EXPECT_EQ(at.Width(), SwapsAxes(c.orientation) ? 100 : 200);
        const Spot corners[] = {{at.left + 5, at.top + 5},
                                {at.right - 6, at.top + 5},
                                {at.right - 6, at.bottom - 6},
                                {at.left + 5, at.bottom - 6}};
        for (int corner = TopLeft; corner <= BottomLeft; ++corner) {
            EXPECT_EQ(frame->screen.At(corners[corner].x, corners[corner].y), corner == c.mark ? kRed : kGreen)
                << "corner " << corner;
        }
    }
}

TEST(ScalingFits, AllowsEveryPhotoAndPanoramaButNotGigabytesOfBuffers) {
    struct Case {
        const char* what;
        PictureSize source, scaled;
        bool fits;
    };
    const Case cases[] = {
        {"a 108-megapixel photo", {12000, 9000}, {1024, 768}, true},
        {"a small picture made bigger", {40, 30}, {1024, 768}, true},
        {"a panorama 2^20 pixels wide", {1u << 20, 1}, {1024, 1}, true},
        {"a panorama 2^21 pixels wide: 75 MB", {1u << 21, 1}, {1024, 1}, false},
        {"a line 2^29 pixels wide", {kMaxPictureSide, 1}, {1024, 1}, false},
        {"a line 2^29 pixels tall", {1, kMaxPictureSide}, {1, 768}, false},
        {"nothing to draw", {kMaxPictureSide, 1}, {1024, 0}, true},
    };
    for (const Case& c : cases) EXPECT_EQ(ScalingFits(c.source, c.scaled), c.fits) << c.what;
}

TEST(ChooseDecodeSize, TakesTheSmallestOfferNotBelowTheDrawnSize) {
    // A decoder that reduces by 1/2, 1/4 and 1/8, rounding up, as JPEG decoders do.
    const auto jpegLike = [](PictureSize stored) {
        return [stored](PictureSize request) {
            for (std::uint32_t d : {8u, 4u, 2u}) {
                const PictureSize offer{(stored.width + d - 1) / d, (stored.height + d - 1) / d};
                if (offer.width >= request.width && offer.height >= request.height) return offer;
            }
            return stored;
        };
    };
    struct Case {
        PictureSize stored, needed, expected;
    };
    const Case cases[] = {
        {{6000, 4000}, {1024, 683}, {1500, 1000}},  // 1/4; 1/8 would be 750 wide
        {{6000, 4000}, {750, 500}, {750, 500}},     // 1/8 exactly
        {{6000, 4000}, {751, 500}, {1500, 1000}},
        {{6000, 4000}, {750, 501}, {1500, 1000}},
        {{8000, 6000}, {1024, 768}, {2000, 1500}},  // 1/8, 1000 x 750, would be too small
        {{1024, 768}, {1024, 768}, {1024, 768}},    // no reduction needed
        {{1025, 769}, {1024, 768}, {1025, 769}},    // half would be too small
    };
    for (const Case& c : cases) {
        const PictureSize chosen = ChooseDecodeSize(c.stored, c.needed, jpegLike(c.stored));
        EXPECT_EQ(chosen.width, c.expected.width) << c.stored.width << "x" << c.stored.height << " for " << c.needed.width;
        EXPECT_EQ(chosen.height, c.expected.height) << c.stored.width << "x" << c.stored.height << " for " << c.needed.width;
    }
    // A decoder that answers nonsense (larger than the picture, or zero) is not followed.
    const PictureSize odd = ChooseDecodeSize({4000, 3000}, {800, 600}, [](PictureSize) { return PictureSize{9000, 9000}; });
    EXPECT_EQ(odd.width, 4000u);
    const PictureSize zero = ChooseDecodeSize({4000, 3000}, {800, 600}, [](PictureSize) { return PictureSize{0, 0}; });
    EXPECT_EQ(zero.width, 4000u);
    const PictureSize wider = ChooseDecodeSize({4000, 3000}, {800, 600}, [](PictureSize) { return PictureSize{8000, 1500}; });
    EXPECT_EQ(wider.width, 4000u) << "an offer larger than the picture one way";
}

}  // namespace
}  // namespace tessaro
