// Slides are rendered away from the window: input is handled at once however long a slide takes,
// a slide rendered ahead appears on its tick, and photos are shown the way up they were taken.

#include <wincodec.h>

#include <functional>

#include "saver_test_support.h"
#include "support/quick_cycle.h"

namespace tessaro::e2e {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kSmall = 0x2E86C1;
constexpr std::uint32_t kHuge = 0xC0392B;
constexpr auto kShippedInterval = 10000ms;
constexpr int kJpegTolerance = 12;

// A 100-megapixel JPEG of one colour: seconds of decoding and scaling under Wine. Made once.
const std::string& HugePicture() {
    static const std::string jpeg = SolidPicture(10000, 10000, kHuge, GUID_ContainerFormatJpeg);
    return jpeg;
}

TEST(SlideEngine, InputEndsTheSaverAtOnceWhileAHugeSlideIsDecoded) {
    struct Case {
        const char* what;
        std::function<void()> input;
    };
    const Case cases[] = {
        {"a key", [] { PressKey('A'); }},
        {"a click", [] { ClickMouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP); }},
    };
    const SaverFolder folder(kQuickCycleProgram);
    folder.AddSolidSlide(1, 320, 240, kSmall);
    ASSERT_FALSE(HugePicture().empty());
    WriteFileBytes(folder.Slide(2), HugePicture());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<Process> process;
        ASSERT_NE(StartSaver(folder, process, kSmall), nullptr);
        // Past the first tick: slide 2, asked for ahead or at the tick, is being decoded now.
        std::this_thread::sleep_for(kQuickCycleInterval + 150ms);
        ASSERT_TRUE(process->Running());
        c.input();
        EXPECT_TRUE(process->WaitForExit(300ms)) << "the saver kept the user waiting";
        EXPECT_TRUE(process->WaitForExit(10000ms));
    }
}

TEST(SlideEngine, AHugeSlideRenderedAheadAppearsOnItsTick) {
    const SaverFolder folder;  // the shipped program: ten seconds a slide
    folder.AddSolidSlide(1, 320, 240, kSmall);
    ASSERT_FALSE(HugePicture().empty());
    WriteFileBytes(folder.Slide(2), HugePicture());
    const auto launched = Clock::now();
    const auto process = folder.Start(L"/s");
    ASSERT_NE(process->WaitForWindow(kSaverClass), nullptr);
    // The tick comes ten seconds after the window was made, which is before this moment.
    const auto windowSeen = Clock::now();
    ASSERT_EQ(WaitForPixel(ScreenWidth() / 2, ScreenHeight() / 2, kSmall, 5000ms), kSmall);
    ASSERT_TRUE(WaitUntil([] { return Near(ScreenPixel(ScreenWidth() / 2, ScreenHeight() / 2), kHuge, kJpegTolerance); },
                          kShippedInterval + 5000ms, 5ms));
    const auto shown = Clock::now();
    EXPECT_GE(shown - launched, kShippedInterval) << "slide 2 belongs to the first tick, not before";
    EXPECT_LE(shown - windowSeen, kShippedInterval + 300ms) << "slide 2 came late after its tick";
    EndWithKey(*process);
}

// A JPEG of four coloured quarters, stored 1600 x 1000, with an EXIF orientation.
std::string QuarteredPhoto(int orientation) {
    constexpr int kWidth = 1600, kHeight = 1000;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool right = x >= kWidth / 2, bottom = y >= kHeight / 2;
            pixels[static_cast<std::size_t>(y) * kWidth + x] =
                bottom ? (right ? 0xF1C40F /* yellow */ : 0x2E4BC1 /* blue */) : (right ? 0x27AE60 /* green */ : 0xC0392B);
        }
    }
    return WithExifOrientation(EncodePixels(kWidth, kHeight, pixels, GUID_ContainerFormatJpeg), orientation);
}

TEST(SlideEngine, PhotosAreShownUprightAndFittedByTheirUprightSize) {
    constexpr std::uint32_t red = 0xC0392B, green = 0x27AE60, blue = 0x2E4BC1, yellow = 0xF1C40F;
    struct Case {
        int orientation;
        RECT picture;                 // where the upright picture lands on 1024 x 768
        std::uint32_t quarters[4];    // top left, top right, bottom left, bottom right, as seen
    };
    const Case cases[] = {
        {1, {0, 64, 1024, 704}, {red, green, blue, yellow}},
        {3, {0, 64, 1024, 704}, {yellow, blue, green, red}},
        {6, {272, 0, 752, 768}, {blue, red, yellow, green}},   // a quarter clockwise: 1000 x 1600 upright
        {8, {272, 0, 752, 768}, {green, yellow, red, blue}},
    };
    const SaverFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "orientation " << c.orientation);
        WriteFileBytes(folder.Slide(1), QuarteredPhoto(c.orientation));
        const auto process = folder.Start(L"/s");
        ASSERT_NE(process->WaitForWindow(kSaverClass), nullptr);
        const RECT& r = c.picture;
        const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
        const int quarterW = (r.right - r.left) / 4, quarterH = (r.bottom - r.top) / 4;
        ASSERT_TRUE(WaitUntil([&] { return Near(ScreenPixel(midX - quarterW, midY - quarterH), c.quarters[0], kJpegTolerance); }, 5000ms))
            << "top left is " << std::hex << ScreenPixel(midX - quarterW, midY - quarterH);
        const Screenshot shot = Screenshot::Take();
        EXPECT_TRUE(Near(shot.At(midX + quarterW, midY - quarterH), c.quarters[1], kJpegTolerance)) << "top right";
        EXPECT_TRUE(Near(shot.At(midX - quarterW, midY + quarterH), c.quarters[2], kJpegTolerance)) << "bottom left";
        EXPECT_TRUE(Near(shot.At(midX + quarterW, midY + quarterH), c.quarters[3], kJpegTolerance)) << "bottom right";
        // Its edges: black just outside, picture just inside.
        EXPECT_EQ(shot.At(r.left == 0 ? midX : r.left - 3, r.top == 0 ? midY : r.top - 3), kBlack);
        EXPECT_NE(shot.At(r.left == 0 ? midX : r.left + 3, r.top == 0 ? midY : r.top + 3), kBlack);
        EXPECT_EQ(shot.At(r.right == 1024 ? midX : r.right + 2, r.bottom == 768 ? midY : r.bottom + 2), kBlack);
        EXPECT_NE(shot.At(r.right == 1024 ? midX : r.right - 3, r.bottom == 768 ? midY : r.bottom - 3), kBlack);
        EndWithKey(*process);
    }
}

}  // namespace
}  // namespace tessaro::e2e
