// Where a picture of any size goes on a screen of any size, in any of the eight orientations.

#include <cmath>

#include "fuzz_support.h"
#include "slides/slide_frame.h"

using namespace tessaro;
using tessaro::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    // Small sizes are the interesting ones as often as huge ones.
    const auto side = [&data]<typename T>(T) {
        return data.ConsumeBool() ? data.ConsumeIntegralInRange<T>(0, 4096) : data.ConsumeIntegral<T>();
    };
    const int screenWidth = side(int{});
    const int screenHeight = side(int{});
    const PictureSize stored{side(std::uint32_t{}), side(std::uint32_t{})};
    const auto orientation = static_cast<Orientation>(data.ConsumeIntegralInRange<int>(1, 8));

    const std::optional<SlidePlan> plan = PlanSlide(screenWidth, screenHeight, stored, orientation);
    const bool placeable = screenWidth > 0 && screenHeight > 0 && screenWidth <= kMaxScreenSide &&
                           screenHeight <= kMaxScreenSide && stored.width > 0 && stored.height > 0 &&
                           stored.width <= kMaxPictureSide && stored.height <= kMaxPictureSide;
    Require(plan.has_value() == placeable, "every picture the arithmetic takes is placed, and no other");
    if (!plan) return 0;

    const PixelRect& at = plan->picture;
    Require(0 <= at.left && at.left <= at.right && at.right <= screenWidth, "the picture stays inside the screen across");
    Require(0 <= at.top && at.top <= at.bottom && at.bottom <= screenHeight, "the picture stays inside the screen down");
    Require(plan->orientation == orientation, "the plan keeps the orientation");

    const bool swapped = SwapsAxes(orientation);
    const double uprightWidth = swapped ? stored.height : stored.width;
    const double uprightHeight = swapped ? stored.width : stored.height;
    const PictureSize drawn = swapped ? PictureSize{plan->scaled.height, plan->scaled.width} : plan->scaled;
    Require(drawn.width == static_cast<std::uint32_t>(at.Width()) && drawn.height == static_cast<std::uint32_t>(at.Height()),
            "the scaled size is the rect's, in the stored orientation");
    Require(drawn.width <= uprightWidth && drawn.height <= uprightHeight, "a picture is never enlarged");

    if (uprightWidth < screenWidth && uprightHeight < screenHeight) {
        Require(drawn.width == uprightWidth && drawn.height == uprightHeight, "a smaller picture keeps its size");
        Require(std::abs(at.left * 2.0 + uprightWidth - screenWidth) <= 1.0 &&
                    std::abs(at.top * 2.0 + uprightHeight - screenHeight) <= 1.0,
                "a smaller picture is centred");
        return 0;
    }
    const bool acrossTheWidth = at.left == 0 && at.right == screenWidth;
    const bool downTheHeight = at.top == 0 && at.bottom == screenHeight;
    Require(acrossTheWidth || downTheHeight, "a larger picture touches two opposite edges");
    // The other side keeps the picture's proportions, to a pixel at each edge.
    const auto proportional = [](int side, double expected) { return std::abs(side - expected) <= 2.0; };
    Require((acrossTheWidth && proportional(at.Height(), screenWidth * uprightHeight / uprightWidth)) ||
                (downTheHeight && proportional(at.Width(), screenHeight * uprightWidth / uprightHeight)),
            "the proportions are kept");
    return 0;
}
