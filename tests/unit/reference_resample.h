#pragma once
// The scaler the program used before it scaled in bands: floating point, the whole picture at
// once, rows first. Kept as the oracle the band scaler is measured against.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "saver/bitmap.h"

namespace tessaro::reference {
namespace {

// One source pixel's share in a destination pixel along one axis.
struct Tap {
    int index;
    float weight;
};
using AxisPlan = std::vector<std::vector<Tap>>;  // the taps of every destination pixel

double KeysCubic(double x) {
    constexpr double a = -0.5;
    x = std::fabs(x);
    if (x < 1.0) return ((a + 2.0) * x - (a + 3.0)) * x * x + 1.0;
    if (x < 2.0) return ((a * x - 5.0 * a) * x + 8.0 * a) * x - 4.0 * a;
    return 0.0;
}

// Destination pixel d covers the source interval [d * scale, (d + 1) * scale).
std::vector<Tap> AreaTaps(int d, double scale, int sourceSize) {
    const double start = d * scale;
    const double end = std::min((d + 1) * scale, static_cast<double>(sourceSize));
    std::vector<Tap> taps;
    for (int s = static_cast<int>(std::floor(start)); s < end; ++s) {
        const double covered = std::min(end, s + 1.0) - std::max(start, static_cast<double>(s));
        taps.push_back({s, static_cast<float>(covered / scale)});
    }
    return taps;
}

// Pixel centres line up: destination d sits at source (d + 0.5) * scale - 0.5. Taps past the
// picture's edge repeat the edge pixel.
std::vector<Tap> CubicTaps(int d, double scale, int sourceSize) {
    const double centre = (d + 0.5) * scale - 0.5;
    const int base = static_cast<int>(std::floor(centre));
    std::vector<Tap> taps;
    for (int s = base - 1; s <= base + 2; ++s) {
        taps.push_back({std::clamp(s, 0, sourceSize - 1), static_cast<float>(KeysCubic(centre - s))});
    }
    return taps;
}

AxisPlan PlanAxis(int sourceSize, int destinationSize) {
    const double scale = static_cast<double>(sourceSize) / destinationSize;
    AxisPlan plan(destinationSize);
    for (int d = 0; d < destinationSize; ++d) {
        plan[d] = scale > 1.0 ? AreaTaps(d, scale, sourceSize) : CubicTaps(d, scale, sourceSize);
    }
    return plan;
}

constexpr int kChannels = 4;

std::uint8_t ToByte(float value) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

}  // namespace

inline Bitmap Resample(const Bitmap& source, int width, int height) {
    if (width == source.width && height == source.height) return source;

    // Horizontal pass into floats (source rows x destination columns), then vertical pass.
    const AxisPlan columns = PlanAxis(source.width, width);
    std::vector<float> rows(static_cast<std::size_t>(source.height) * width * kChannels);
    for (int y = 0; y < source.height; ++y) {
        const std::uint32_t* in = &source.pixels[static_cast<std::size_t>(y) * source.width];
        float* out = &rows[static_cast<std::size_t>(y) * width * kChannels];
        for (int x = 0; x < width; ++x) {
            float acc[kChannels] = {};
            float low[kChannels] = {255, 255, 255, 255};
            float high[kChannels] = {};
            for (const Tap& tap : columns[x]) {
                const std::uint32_t p = in[tap.index];
                for (int c = 0; c < kChannels; ++c) {
                    const auto value = static_cast<float>((p >> (8 * c)) & 0xFFu);
                    acc[c] += tap.weight * value;
                    low[c] = std::min(low[c], value);
                    high[c] = std::max(high[c], value);
                }
            }
            for (int c = 0; c < kChannels; ++c) {
                out[static_cast<std::size_t>(x) * kChannels + c] = std::clamp(acc[c], low[c], high[c]);
            }
        }
    }

    const AxisPlan lines = PlanAxis(source.height, height);
    Bitmap result(width, height);
    const std::size_t rowLength = static_cast<std::size_t>(width) * kChannels;
    std::vector<float> acc(rowLength);
    std::vector<float> low(rowLength);
    std::vector<float> high(rowLength);
    for (int y = 0; y < height; ++y) {
        std::fill(acc.begin(), acc.end(), 0.0f);
        std::fill(low.begin(), low.end(), 255.0f);
        std::fill(high.begin(), high.end(), 0.0f);
        for (const Tap& tap : lines[y]) {
            const float* in = &rows[static_cast<std::size_t>(tap.index) * rowLength];
            for (std::size_t i = 0; i < rowLength; ++i) {
                acc[i] += tap.weight * in[i];
                low[i] = std::min(low[i], in[i]);
                high[i] = std::max(high[i], in[i]);
            }
        }
        for (std::size_t i = 0; i < rowLength; ++i) acc[i] = std::clamp(acc[i], low[i], high[i]);
        for (int x = 0; x < width; ++x) {
            std::uint32_t p = 0;
            for (int c = 0; c < kChannels; ++c) {
                p |= static_cast<std::uint32_t>(ToByte(acc[static_cast<std::size_t>(x) * kChannels + c])) << (8 * c);
            }
            result.At(x, y) = p;
        }
    }
    return result;
}

}  // namespace tessaro::reference
