// A picture of odd size, from a decoder that may offer smaller sizes, arriving in bands of any
// height, composed into a small screen in any orientation.

#include <algorithm>

#include "fuzz_support.h"
#include "slides/slide_frame.h"

using namespace tessaro;
using tessaro::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const int screenWidth = data.ConsumeIntegralInRange<int>(1, 64);
    const int screenHeight = data.ConsumeIntegralInRange<int>(1, 64);
    const PictureSize stored{data.ConsumeIntegralInRange<std::uint32_t>(1, 160), data.ConsumeIntegralInRange<std::uint32_t>(1, 160)};
    const auto orientation = static_cast<Orientation>(data.ConsumeIntegralInRange<int>(1, 8));
    const std::optional<SlidePlan> plan = PlanSlide(screenWidth, screenHeight, stored, orientation);
    Require(plan.has_value(), "a small picture on a small screen is placed");

    // The decoder answers each request with a size of its own, never above the stored one.
    const PictureSize needed = plan->scaled;
    const PictureSize source = ChooseDecodeSize(stored, needed, [&data, stored](PictureSize request) {
        if (data.ConsumeBool()) return request;
        return PictureSize{data.ConsumeIntegralInRange<std::uint32_t>(1, stored.width),
                           data.ConsumeIntegralInRange<std::uint32_t>(1, stored.height)};
    });
    const bool storedSize = source.width == stored.width && source.height == stored.height;
    Require(storedSize || (source.width >= needed.width && source.height >= needed.height &&
                           source.width <= stored.width && source.height <= stored.height),
            "a smaller decode is still large enough");

    const bool wide = data.ConsumeBool();
    const PixelLayout layout = wide ? PixelLayout::Bgrx32 : PixelLayout::Bgr24;
    const std::size_t stride = source.width * (wide ? 4u : 3u) + data.ConsumeIntegralInRange<std::size_t>(0, 5);
    const bool uniform = data.ConsumeBool();
    const std::uint8_t blue = data.ConsumeIntegral<std::uint8_t>();
    const std::uint8_t green = data.ConsumeIntegral<std::uint8_t>();
    const std::uint8_t red = data.ConsumeIntegral<std::uint8_t>();
    std::vector<std::uint8_t> pixels(stride * source.height);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::uint8_t colour[4] = {blue, green, red, 0x80};
        pixels[i] = uniform ? colour[(i % stride) % (wide ? 4 : 3)] : static_cast<std::uint8_t>(blue + i * red);
    }

    SlideComposer composer(*plan, screenWidth, screenHeight, source);
    for (int row = 0; row < static_cast<int>(source.height);) {
        const int band = std::min(data.ConsumeIntegralInRange<int>(1, 40), static_cast<int>(source.height) - row);
        composer.AddRows(pixels.data() + static_cast<std::size_t>(row) * stride, band, stride, layout);
        row += band;
    }
    const SlideFrame frame = composer.Finish();
    Require(frame.screen.width == screenWidth && frame.screen.height == screenHeight &&
                frame.screen.pixels.size() == static_cast<std::size_t>(screenWidth) * screenHeight,
            "the frame is the screen");
    const std::uint32_t colour = 0xFF000000u | red << 16 | green << 8 | blue;
    const PixelRect& at = frame.picture;
    for (int y = 0; y < screenHeight; ++y) {
        for (int x = 0; x < screenWidth; ++x) {
            const std::uint32_t pixel = frame.screen.At(x, y);
            if (x < at.left || x >= at.right || y < at.top || y >= at.bottom) {
                Require(pixel == kOpaqueBlack, "outside the picture the screen is black");
            } else {
                Require(pixel >> 24 == 0xFF, "the picture is opaque");
                Require(!uniform || pixel == colour, "a picture of one colour stays that colour, to its edges");
            }
        }
    }
    return 0;
}
