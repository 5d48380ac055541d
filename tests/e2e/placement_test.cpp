// Where slides land on a 1024 x 768 screen, to the pixel.

#include "saver_test_support.h"

namespace tessaro::e2e {
namespace {

constexpr std::uint32_t kSlideColour = 0x2E86C1;

TEST(Placement, SlidesLandOnTheExpectedPixels) {
    ASSERT_EQ(ScreenWidth(), 1024);
    ASSERT_EQ(ScreenHeight(), 768);
    struct Case {
        int w, h;
        RECT expected;  // left, top, right, bottom in pixels; fractional edges round half up
    };
    const Case cases[] = {
        {800, 600, {112, 84, 912, 684}},    // natural size, centred
        {1023, 767, {1, 1, 1024, 768}},     // natural at 0.5, 0.5
        {1024, 768, {0, 0, 1024, 768}},     // not smaller: fitted, equal ratio
        {1600, 1200, {0, 0, 1024, 768}},
        {2000, 500, {0, 256, 1024, 512}},   // panorama: fit width
        {1024, 500, {0, 134, 1024, 634}},
        {1200, 400, {0, 213, 1024, 555}},   // height 341.33 at 213.33
        {500, 2000, {416, 0, 608, 768}},    // upright: fit height
        {800, 1000, {205, 0, 819, 768}},    // 614.4 wide at 204.8
        {768, 768, {128, 0, 896, 768}},     // square, as tall as the screen
        {100, 60, {462, 354, 562, 414}},    // small, far from every edge
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        const SaverFolder folder;
        folder.AddSolidSlide(1, c.w, c.h, kSlideColour);
        std::unique_ptr<Process> process;
        ASSERT_NE(StartSaver(folder, process, kSlideColour), nullptr);

        const Screenshot shot = Screenshot::Take();
        int wrong = 0;
        for (int y = 0; y < shot.Height(); ++y) {
            for (int x = 0; x < shot.Width(); ++x) {
                const bool inside = x >= c.expected.left && x < c.expected.right && y >= c.expected.top &&
                                    y < c.expected.bottom;
                if (shot.At(x, y) != (inside ? kSlideColour : kBlack) && wrong++ < 3) {
                    ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << shot.At(x, y);
                }
            }
        }
        EXPECT_EQ(wrong, 0) << "pixels off the expected picture";
        EndWithKey(*process);
    }
}

}  // namespace
}  // namespace tessaro::e2e
