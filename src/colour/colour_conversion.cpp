#include "colour_conversion.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "matrix3.h"

namespace tessaro {
namespace {

// The 8-bit encoding of each of the levels of light (ascending): the inverse of curve, found on its
// values at many points (made to rise, should a profile's curve not).
std::vector<std::uint8_t> Encoded(const ToneCurve& curve, const std::vector<double>& levels) {
    constexpr int kSamples = 8192;
    std::vector<double> values(kSamples + 1);
    double highest = 0.0;
    for (int i = 0; i <= kSamples; ++i) values[i] = highest = std::max(highest, curve(static_cast<double>(i) / kSamples));
    std::vector<std::uint8_t> encoded;
    encoded.reserve(levels.size());
    int below = 0;
    for (const double level : levels) {
        while (below < kSamples && values[below + 1] < level) ++below;
        double x;
        if (level <= values[0]) {
            x = 0.0;
        } else if (below == kSamples) {
            x = 1.0;
        } else {
            const double span = values[below + 1] - values[below];
            x = (below + (span > 0 ? (level - values[below]) / span : 0.0)) / kSamples;
        }
        encoded.push_back(static_cast<std::uint8_t>(std::lround(std::clamp(x, 0.0, 1.0) * 255)));
    }
    return encoded;
}

// A level of light as a float's exponent and top mantissa bits: a step in every kStepsPerOctave
// of each octave, as fine in the dark, where tone curves are steepest, as in the light.
constexpr int kMantissaBits = 9;
constexpr int kMantissaShift = 23 - kMantissaBits;
constexpr int kDarkestOctave = 24;  // 2^-24 and less: black in any encoding
constexpr std::int32_t kFirstStep = (127 - kDarkestOctave) << kMantissaBits;
constexpr std::int32_t kLastStep = kDarkestOctave << kMantissaBits;  // full light, 1.0

std::int32_t StepOf(float level) {
    std::int32_t bits;
    std::memcpy(&bits, &level, sizeof bits);
    // Nothing, and anything negative (a set sign bit makes bits negative), is the first step;
    // anything over full light the last.
    const std::int32_t step = (bits >> kMantissaShift) - kFirstStep;
    return step < 0 ? 0 : step > kLastStep ? kLastStep : step;
}

// The level each step stands for: the middle of the levels it takes in.
std::vector<double> StepLevels() {
    std::vector<double> levels;
    for (std::int32_t step = 0; step <= kLastStep; ++step) {
        const std::int32_t bits = (step + kFirstStep) << kMantissaShift | (step < kLastStep ? 1 << (kMantissaShift - 1) : 0);
        float level;
        std::memcpy(&level, &bits, sizeof level);
        levels.push_back(level);
    }
    return levels;
}

std::uint32_t Pack(std::uint32_t pixel, int red, int green, int blue) {
    return (pixel & 0xFF000000u) | static_cast<std::uint32_t>(red) << 16 | static_cast<std::uint32_t>(green) << 8 |
           static_cast<std::uint32_t>(blue);
}

}  // namespace

MatrixShaperConversion::MatrixShaperConversion(const MatrixShaper& from, const MatrixShaper& to) {
    const std::vector<double> levels = StepLevels();
    for (int channel = 0; channel < 3; ++channel) {
        for (int level = 0; level < 256; ++level) {
            linear_[channel][level] = static_cast<float>(from.curves[channel](level / 255.0));
        }
        encoded_[channel] = Encoded(to.curves[channel], levels);
    }
    const Matrix3 matrix = Multiply(Inverse(to.toXyz), from.toXyz);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) matrix_[i][j] = std::isfinite(matrix[i][j]) ? static_cast<float>(matrix[i][j]) : 0.0f;
    }
}

void MatrixShaperConversion::Convert(std::uint32_t* pixels, std::size_t count) const {
    // In blocks, so that the arithmetic between the table look-ups is done for many pixels at once.
    constexpr std::size_t kBlock = 256;
    float linear[3][kBlock];
    std::int32_t steps[3][kBlock];
    for (std::size_t start = 0; start < count; start += kBlock) {
        std::uint32_t* block = pixels + start;
        const std::size_t n = std::min(kBlock, count - start);
        for (std::size_t i = 0; i < n; ++i) {
            linear[0][i] = linear_[0][block[i] >> 16 & 0xFF];
            linear[1][i] = linear_[1][block[i] >> 8 & 0xFF];
            linear[2][i] = linear_[2][block[i] & 0xFF];
        }
        for (int c = 0; c < 3; ++c) {
            const float m0 = matrix_[c][0], m1 = matrix_[c][1], m2 = matrix_[c][2];
            for (std::size_t i = 0; i < n; ++i) steps[c][i] = StepOf(m0 * linear[0][i] + m1 * linear[1][i] + m2 * linear[2][i]);
        }
        for (std::size_t i = 0; i < n; ++i) {
            block[i] = Pack(block[i], encoded_[0][steps[0][i]], encoded_[1][steps[1][i]], encoded_[2][steps[2][i]]);
        }
    }
}

bool SameColours(const MatrixShaper& from, const MatrixShaper& to) {
    // Every test colour must land within a level of itself: between the linear levels of the
    // target's encoding a level and a half below and above it, where rounding would still give
    // that level or the next. Only the forward curves are needed, a few hundred points of them.
    std::array<std::array<double, 256>, 3> linear{};
    std::array<std::array<double, 257>, 3> bounds{};  // bounds[c][k]: where level k - 1 ends and k begins
    for (int c = 0; c < 3; ++c) {
        for (int level = 0; level < 256; ++level) linear[c][level] = from.curves[c](level / 255.0);
        for (int half = 0; half <= 256; ++half) bounds[c][half] = to.curves[c]((half - 0.5) / 255.0);
    }
    const Matrix3 matrix = Multiply(Inverse(to.toXyz), from.toXyz);
    const auto lands = [&](int r, int g, int b) {
        const std::array<int, 3> levels{r, g, b};
        const std::array<double, 3> converted = Multiply(matrix, std::array<double, 3>{linear[0][r], linear[1][g], linear[2][b]});
        for (int c = 0; c < 3; ++c) {
            // Within a level: above the lower edge of level - 1 and below the upper edge of level + 1.
            const double low = levels[c] >= 1 ? bounds[c][levels[c] - 1] : -1.0;
            const double high = levels[c] <= 254 ? bounds[c][levels[c] + 2] : 2.0;
            if (!(converted[c] > low && converted[c] < high)) return false;
        }
        return true;
    };
    for (int level = 0; level < 256; ++level) {
        if (!lands(level, level, level)) return false;
    }
    constexpr int kLevels[] = {0, 32, 64, 96, 128, 160, 192, 224, 255};
    for (int r : kLevels)
        for (int g : kLevels)
            for (int b : kLevels)
                if (!lands(r, g, b)) return false;
    return true;
}

LatticeConversion::LatticeConversion(int nodes, std::vector<std::uint8_t> rgb)
    : nodes_(nodes), step_(Step(nodes)), rgb_(std::move(rgb)) {}

void LatticeConversion::Convert(std::uint32_t* pixels, std::size_t count) const {
    const int s = step_;
    const std::size_t strideR = static_cast<std::size_t>(nodes_) * nodes_ * 3;
    const std::size_t strideG = static_cast<std::size_t>(nodes_) * 3;
    const std::size_t strideB = 3;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t pixel = pixels[i];
        // Each level as a node below it and how far past it, the top node's cell for the top level.
        const auto split = [s, last = nodes_ - 1](int level, int& node, int& past) {
            node = std::min(level / s, last - 1);
            past = level - node * s;
        };
        int r, g, b, fr, fg, fb;
        split(pixel >> 16 & 0xFF, r, fr);
        split(pixel >> 8 & 0xFF, g, fg);
        split(pixel & 0xFF, b, fb);
        const std::uint8_t* c000 = &rgb_[r * strideR + g * strideG + b * strideB];
        // The tetrahedron of the cell that holds the colour: from the node below, one axis at a
        // time in the order of how far the colour is past it.
        std::size_t first, second;
        int w0, w1, w2, w3;
        if (fr >= fg && fg >= fb) {
            first = strideR, second = strideR + strideG, w0 = s - fr, w1 = fr - fg, w2 = fg - fb, w3 = fb;
        } else if (fr >= fb && fb >= fg) {
            first = strideR, second = strideR + strideB, w0 = s - fr, w1 = fr - fb, w2 = fb - fg, w3 = fg;
        } else if (fb >= fr && fr >= fg) {
            first = strideB, second = strideR + strideB, w0 = s - fb, w1 = fb - fr, w2 = fr - fg, w3 = fg;
        } else if (fg >= fr && fr >= fb) {
            first = strideG, second = strideR + strideG, w0 = s - fg, w1 = fg - fr, w2 = fr - fb, w3 = fb;
        } else if (fg >= fb && fb >= fr) {
            first = strideG, second = strideG + strideB, w0 = s - fg, w1 = fg - fb, w2 = fb - fr, w3 = fr;
        } else {
            first = strideB, second = strideG + strideB, w0 = s - fb, w1 = fb - fg, w2 = fg - fr, w3 = fr;
        }
        const std::uint8_t* c1 = c000 + first;
        const std::uint8_t* c2 = c000 + second;
        const std::uint8_t* c3 = c000 + strideR + strideG + strideB;
        int out[3];
        for (int k = 0; k < 3; ++k) out[k] = (c000[k] * w0 + c1[k] * w1 + c2[k] * w2 + c3[k] * w3 + s / 2) / s;
        pixels[i] = Pack(pixel, out[0], out[1], out[2]);
    }
}

void GrayConversion::Convert(std::uint32_t* pixels, std::size_t count) const {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* rgb = &rgb_[(pixels[i] >> 8 & 0xFF) * 3];
        pixels[i] = Pack(pixels[i], rgb[0], rgb[1], rgb[2]);
    }
}

}  // namespace tessaro
