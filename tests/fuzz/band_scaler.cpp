// The band resampler over odd sizes and scales, both ways, with bands of any height.

#include <algorithm>

#include "fuzz_support.h"
#include "slides/band_scaler.h"

using namespace tessaro;
using tessaro::fuzz::Require;

namespace {

void CheckAxisPlan(const BandScaler::AxisPlan& plan, int sourceSize, int destinationSize) {
    Require(plan.first.size() == static_cast<std::size_t>(destinationSize), "one tap list per output pixel");
    for (int d = 0; d < destinationSize; ++d) {
        const int first = plan.first[d];
        const int count = plan.count[d];
        Require(first >= 0 && count >= 1 && first + count <= sourceSize, "taps lie inside the source");
        Require(d == 0 || first >= plan.first[d - 1], "taps move forward, so rows can stream");
        Require(count <= plan.widest, "the widest tap list is the widest");
        std::int32_t sum = 0;
        for (int t = 0; t < count; ++t) sum += plan.weights[plan.offset[d] + t];
        Require(sum == 1 << BandScaler::kWeightBits, "the weights sum to one");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    // Any ratio from 1:128 to 128:1 each way; larger sides only make each run slower.
    const int srcWidth = data.ConsumeIntegralInRange<int>(1, 128);
    const int srcHeight = data.ConsumeIntegralInRange<int>(1, 128);
    const int dstWidth = data.ConsumeIntegralInRange<int>(1, 128);
    const int dstHeight = data.ConsumeIntegralInRange<int>(1, 128);
    CheckAxisPlan(BandScaler::PlanAxis(srcWidth, dstWidth), srcWidth, dstWidth);
    CheckAxisPlan(BandScaler::PlanAxis(srcHeight, dstHeight), srcHeight, dstHeight);

    const bool wide = data.ConsumeBool();
    const int bytesPerPixel = wide ? 4 : 3;
    const std::size_t stride = static_cast<std::size_t>(srcWidth) * bytesPerPixel + data.ConsumeIntegralInRange<std::size_t>(0, 7);
    const bool uniform = data.ConsumeBool();
    const std::uint8_t colour[4] = {data.ConsumeIntegral<std::uint8_t>(), data.ConsumeIntegral<std::uint8_t>(),
                                    data.ConsumeIntegral<std::uint8_t>(), data.ConsumeIntegral<std::uint8_t>()};
    // A few rows more than the picture has: they must be ignored.
    const int extraRows = data.ConsumeIntegralInRange<int>(0, 3);
    std::vector<std::uint8_t> pixels(stride * static_cast<std::size_t>(srcHeight + extraRows));
    const std::vector<std::uint8_t> pattern = data.ConsumeBytes<std::uint8_t>(64);
    std::uint8_t low[3] = {255, 255, 255};
    std::uint8_t high[3] = {0, 0, 0};
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::size_t channel = (i % stride) % bytesPerPixel;
        pixels[i] = uniform || pattern.empty() ? colour[channel] : static_cast<std::uint8_t>(pattern[i % pattern.size()] ^ colour[channel]);
        if (channel < 3 && i % stride < static_cast<std::size_t>(srcWidth) * bytesPerPixel && i / stride < static_cast<std::size_t>(srcHeight)) {
            low[channel] = std::min(low[channel], pixels[i]);
            high[channel] = std::max(high[channel], pixels[i]);
        }
    }

    int rowsSeen = 0;
    BandScaler scaler(srcWidth, srcHeight, dstWidth, dstHeight, [&](int y, const std::uint32_t* row) {
        Require(y == rowsSeen++, "output rows come once each, in order");
        for (int x = 0; x < dstWidth; ++x) {
            Require(row[x] >> 24 == 0xFF, "the result is opaque");
            for (int c = 0; c < 3; ++c) {
                const std::uint32_t value = row[x] >> (8 * c) & 0xFF;
                Require(value >= low[c] && value <= high[c], "every result lies within the source's range");
            }
        }
    });
    for (int row = 0; row < srcHeight + extraRows;) {
        const int band = std::min(data.ConsumeIntegralInRange<int>(1, 64), srcHeight + extraRows - row);
        Require(scaler.NextSourceRow() == std::min(row, srcHeight), "the scaler expects the next row");
        scaler.AddRows(pixels.data() + static_cast<std::size_t>(row) * stride, band, stride, wide ? PixelLayout::Bgrx32 : PixelLayout::Bgr24);
        row += band;
    }
    Require(rowsSeen == dstHeight, "the scaler writes exactly the output rows");
    return 0;
}
