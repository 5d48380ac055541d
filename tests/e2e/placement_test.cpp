// Where slides land on a 1024 x 768 screen, to the pixel.

#include "saver_test_support.h"

namespace tessaro::e2e {
namespace {

constexpr std::uint32_t kSlideColour = 0x2E86C1;

TEST(Placement, SlidesLandOnTheExpectedPixels) {
    ASSERT_EQ(ScreenWidth(), kExampleScreenWidth);
    ASSERT_EQ(ScreenHeight(), kExampleScreenHeight);
    ForEachPlacementExample(kSlideColour, [](const PlacementExample& c) {
        const Screenshot shot = Screenshot::Take();
        int wrong = 0;
        for (int y = 0; y < shot.Height(); ++y) {
            for (int x = 0; x < shot.Width(); ++x) {
                const bool inside = x >= c.pixels.left && x < c.pixels.right && y >= c.pixels.top &&
                                    y < c.pixels.bottom;
                if (shot.At(x, y) != (inside ? kSlideColour : kBlack) && wrong++ < 3) {
                    ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << shot.At(x, y);
                }
            }
        }
        EXPECT_EQ(wrong, 0) << "pixels off the expected picture";
    });
}

}  // namespace
}  // namespace tessaro::e2e
