#include "band_scaler.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tessaro {
namespace {

constexpr std::int32_t kOne = 1 << BandScaler::kWeightBits;
constexpr int kChannels = 3;
// After the vertical pass values keep 8 fractional bits, so the horizontal sum fits 32 bits.
constexpr int kIntermediateShift = BandScaler::kWeightBits - 8;
constexpr int kFinalShift = BandScaler::kWeightBits + 8;

double KeysCubic(double x) {
    constexpr double a = -0.5;
    x = std::fabs(x);
    if (x < 1.0) return ((a + 2.0) * x - (a + 3.0)) * x * x + 1.0;
    if (x < 2.0) return ((a * x - 5.0 * a) * x + 8.0 * a) * x - 4.0 * a;
    return 0.0;
}

// Rounds the weights of one output pixel to fixed point so that they sum to exactly kOne: the
// rounding error goes to the largest weight.
void AppendWeights(BandScaler::AxisPlan& plan, int first, const std::vector<double>& weights) {
    plan.first.push_back(first);
    plan.count.push_back(static_cast<int>(weights.size()));
    plan.offset.push_back(static_cast<int>(plan.weights.size()));
    plan.widest = std::max(plan.widest, static_cast<int>(weights.size()));
    std::int32_t sum = 0;
    std::size_t largest = plan.weights.size();
    for (double w : weights) {
        const auto fixed = static_cast<std::int32_t>(std::lround(w * kOne));
        if (plan.weights.size() == largest || fixed > plan.weights[largest]) largest = plan.weights.size();
        plan.weights.push_back(fixed);
        sum += fixed;
    }
    plan.weights[largest] += kOne - sum;
}

std::int32_t Clamp(std::int32_t value, std::int32_t low, std::int32_t high) { return std::min(std::max(value, low), high); }

}  // namespace

BandScaler::AxisPlan BandScaler::PlanAxis(int sourceSize, int destinationSize) {
    AxisPlan plan;
    const double scale = static_cast<double>(sourceSize) / destinationSize;
    plan.grows = scale < 1.0;
    std::vector<double> weights;
    for (int d = 0; d < destinationSize; ++d) {
        weights.clear();
        if (!plan.grows) {
            // Destination pixel d covers the source interval [d * scale, (d + 1) * scale).
            const double start = d * scale;
            const double end = std::min((d + 1) * scale, static_cast<double>(sourceSize));
            const int first = std::min(static_cast<int>(std::floor(start)), sourceSize - 1);
            for (int s = first; s < end; ++s) {
                weights.push_back((std::min(end, s + 1.0) - std::max(start, static_cast<double>(s))) / scale);
            }
            if (weights.empty()) weights.push_back(1.0);
            AppendWeights(plan, first, weights);
        } else {
            // Pixel centres line up: destination d sits at source (d + 0.5) * scale - 0.5. Taps
            // past the picture's edge repeat the edge pixel, so they fold onto it.
            const double centre = (d + 0.5) * scale - 0.5;
            const int base = static_cast<int>(std::floor(centre));
            const int first = std::max(base - 1, 0);
            const int last = std::min(base + 2, sourceSize - 1);
            weights.assign(static_cast<std::size_t>(last - first + 1), 0.0);
            for (int s = base - 1; s <= base + 2; ++s) {
                weights[static_cast<std::size_t>(std::clamp(s, first, last) - first)] += KeysCubic(centre - s);
            }
            AppendWeights(plan, first, weights);
        }
    }
    return plan;
}

namespace {

// The bytes of one axis's plan, and the most taps of one output pixel.
struct AxisCost {
    std::uint64_t bytes;
    std::uint64_t widest;
};

AxisCost AxisPlanCost(std::uint64_t source, std::uint64_t destination) {
    constexpr std::uint64_t kEntry = sizeof(int) * 3;  // first, count, offset
    constexpr std::uint64_t kWeight = sizeof(std::int32_t);
    if (destination == 0) return {0, 0};
    if (source < destination) return {destination * (kEntry + 4 * kWeight), 4};
    // Consecutive output pixels share at most one source pixel between them.
    return {destination * kEntry + (source + destination) * kWeight, (source + destination - 1) / destination + 1};
}

}  // namespace

std::uint64_t BandScaler::BytesNeeded(std::uint32_t srcWidth, std::uint32_t srcHeight, std::uint32_t dstWidth,
                                      std::uint32_t dstHeight) {
    const AxisCost columns = AxisPlanCost(srcWidth, dstWidth);
    const AxisCost rows = AxisPlanCost(srcHeight, dstHeight);
    const std::uint64_t outputRow = std::uint64_t{dstWidth} * (kChannels * sizeof(std::int32_t) + sizeof(std::uint32_t));
    const std::uint64_t ring = rows.widest * (std::uint64_t{dstWidth} * kChannels * sizeof(std::int32_t) + sizeof(void*));
    const bool shrinksBothWays = srcWidth >= dstWidth && srcHeight >= dstHeight;
    const std::uint64_t sums = shrinksBothWays ? 2 * std::uint64_t{srcWidth} * 4 * sizeof(std::int32_t) : 0;
    return columns.bytes + rows.bytes + outputRow + ring + sums;
}

BandScaler::BandScaler(int srcWidth, int srcHeight, int dstWidth, int dstHeight, RowSink sink)
    : srcWidth_(srcWidth),
      srcHeight_(srcHeight),
      dstWidth_(dstWidth),
      dstHeight_(dstHeight),
      sink_(std::move(sink)),
      columns_(PlanAxis(srcWidth, dstWidth)),
      rows_(PlanAxis(srcHeight, dstHeight)),
      ring_(static_cast<std::size_t>(rows_.widest) * dstWidth * kChannels),
      tapRows_(static_cast<std::size_t>(rows_.widest)),
      column_(static_cast<std::size_t>(dstWidth) * kChannels),
      output_(static_cast<std::size_t>(dstWidth)) {}

void BandScaler::AddRows(const std::uint8_t* rows, int count, std::size_t stride, PixelLayout layout) {
    const int bytesPerPixel = layout == PixelLayout::Bgr24 ? 3 : 4;
    if (!rows_.grows && !columns_.grows) {
        for (int i = 0; i < count && nextSourceRow_ < srcHeight_; ++i) {
            AddRowShrinking(rows + static_cast<std::size_t>(i) * stride, bytesPerPixel);
        }
        return;
    }
    const std::size_t slotSize = static_cast<std::size_t>(dstWidth_) * kChannels;
    for (int i = 0; i < count && nextSourceRow_ < srcHeight_; ++i) {
        ScaleRow(rows + static_cast<std::size_t>(i) * stride, bytesPerPixel,
                 &ring_[static_cast<std::size_t>(nextSourceRow_ % rows_.widest) * slotSize]);
        const int arrived = nextSourceRow_++;
        // Every output row whose last tap has now arrived can be finished.
        while (nextOutputRow_ < dstHeight_ &&
               rows_.first[nextOutputRow_] + rows_.count[nextOutputRow_] - 1 <= arrived) {
            EmitRow(nextOutputRow_++);
        }
    }
}

void BandScaler::AddRowShrinking(const std::uint8_t* in, int bytesPerPixel) {
    const int row = nextSourceRow_++;
    const std::size_t length = static_cast<std::size_t>(srcWidth_) * bytesPerPixel;
    // The source row counts in the unfinished output rows whose taps reach it: at most two.
    for (int y = nextOutputRow_; y < dstHeight_ && rows_.first[y] <= row; ++y) {
        const int tap = row - rows_.first[y];
        if (tap >= rows_.count[y]) continue;
        const std::int32_t w = rows_.weights[rows_.offset[y] + tap];
        std::vector<std::int32_t>& sums = sums_[y % 2];
        if (sums.size() != length) sums.assign(length, 0);
        if (tap == 0) {
            for (std::size_t i = 0; i < length; ++i) sums[i] = w * in[i];
        } else {
            for (std::size_t i = 0; i < length; ++i) sums[i] += w * in[i];
        }
    }
    while (nextOutputRow_ < dstHeight_ && rows_.first[nextOutputRow_] + rows_.count[nextOutputRow_] - 1 <= row) {
        EmitSummedRow(nextOutputRow_++, bytesPerPixel);
    }
}

void BandScaler::EmitSummedRow(int y, int bytesPerPixel) {
    std::vector<std::int32_t>& sums = sums_[y % 2];
    constexpr std::int32_t halfStep = 1 << (kIntermediateShift - 1);
    for (std::int32_t& value : sums) value = (value + halfStep) >> kIntermediateShift;
    constexpr std::int32_t half = 1 << (kFinalShift - 1);
    for (int x = 0; x < dstWidth_; ++x) {
        const std::int32_t* p = &sums[static_cast<std::size_t>(columns_.first[x]) * bytesPerPixel];
        const std::int32_t* w = &columns_.weights[columns_.offset[x]];
        std::int32_t b = 0, g = 0, r = 0;
        for (int t = 0; t < columns_.count[x]; ++t, p += bytesPerPixel) {
            b += w[t] * p[0];
            g += w[t] * p[1];
            r += w[t] * p[2];
        }
        const auto channel = [&](std::int32_t acc) { return static_cast<std::uint32_t>(Clamp((acc + half) >> kFinalShift, 0, 255)); };
        output_[static_cast<std::size_t>(x)] = 0xFF000000u | channel(r) << 16 | channel(g) << 8 | channel(b);
    }
    sink_(y, output_.data());
}

void BandScaler::ScaleRow(const std::uint8_t* in, int bytesPerPixel, std::int32_t* out) const {
    constexpr std::int32_t half = 1 << (kIntermediateShift - 1);
    for (int x = 0; x < dstWidth_; ++x) {
        const std::uint8_t* p = in + static_cast<std::size_t>(columns_.first[x]) * bytesPerPixel;
        const std::int32_t* w = &columns_.weights[columns_.offset[x]];
        const int count = columns_.count[x];
        std::int32_t b = 0, g = 0, r = 0;
        for (int t = 0; t < count; ++t, p += bytesPerPixel) {
            b += w[t] * p[0];
            g += w[t] * p[1];
            r += w[t] * p[2];
        }
        if (columns_.grows) {
            std::int32_t low[kChannels] = {255, 255, 255};
            std::int32_t high[kChannels] = {0, 0, 0};
            p = in + static_cast<std::size_t>(columns_.first[x]) * bytesPerPixel;
            for (int t = 0; t < count; ++t, p += bytesPerPixel) {
                for (int c = 0; c < kChannels; ++c) {
                    low[c] = std::min<std::int32_t>(low[c], p[c]);
                    high[c] = std::max<std::int32_t>(high[c], p[c]);
                }
            }
            b = Clamp(b, low[0] * kOne, high[0] * kOne);
            g = Clamp(g, low[1] * kOne, high[1] * kOne);
            r = Clamp(r, low[2] * kOne, high[2] * kOne);
        }
        out[0] = (b + half) >> kIntermediateShift;
        out[1] = (g + half) >> kIntermediateShift;
        out[2] = (r + half) >> kIntermediateShift;
        out += kChannels;
    }
}

void BandScaler::EmitRow(int y) {
    const std::size_t slotSize = static_cast<std::size_t>(dstWidth_) * kChannels;
    const int first = rows_.first[y];
    const int taps = rows_.count[y];
    const std::int32_t* weights = &rows_.weights[rows_.offset[y]];
    for (int t = 0; t < taps; ++t) tapRows_[t] = &ring_[static_cast<std::size_t>((first + t) % rows_.widest) * slotSize];

    for (std::size_t i = 0; i < slotSize; ++i) column_[i] = weights[0] * tapRows_[0][i];
    for (int t = 1; t < taps; ++t) {
        const std::int32_t w = weights[t];
        const std::int32_t* in = tapRows_[t];
        for (std::size_t i = 0; i < slotSize; ++i) column_[i] += w * in[i];
    }
    if (rows_.grows) {
        for (std::size_t i = 0; i < slotSize; ++i) {
            std::int32_t low = tapRows_[0][i];
            std::int32_t high = low;
            for (int t = 1; t < taps; ++t) {
                low = std::min(low, tapRows_[t][i]);
                high = std::max(high, tapRows_[t][i]);
            }
            column_[i] = Clamp(column_[i], low << kWeightBits, high << kWeightBits);
        }
    }
    constexpr std::int32_t half = 1 << (kFinalShift - 1);
    const auto channel = [&](std::size_t i) {
        return static_cast<std::uint32_t>(Clamp((column_[i] + half) >> kFinalShift, 0, 255));
    };
    for (int x = 0; x < dstWidth_; ++x) {
        const std::size_t i = static_cast<std::size_t>(x) * kChannels;
        output_[static_cast<std::size_t>(x)] = 0xFF000000u | channel(i + 2) << 16 | channel(i + 1) << 8 | channel(i);
    }
    sink_(y, output_.data());
}

}  // namespace tessaro
