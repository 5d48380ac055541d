#include "colour_conversion.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "matrix3.h"

namespace tessaro {
namespace {

// The 8-bit encoding of each linear level: the inverse of curve, found on its values at many
// points (made to rise, should a profile's curve not), and looked up by the square root of the
// level, which keeps the dark end, where curves are steepest, as fine as the light.
std::vector<std::uint8_t> EncodingTable(const ToneCurve& curve, int steps) {
    constexpr int kSamples = 8192;
    std::vector<double> values(kSamples + 1);
    double highest = 0.0;
    for (int i = 0; i <= kSamples; ++i) values[i] = highest = std::max(highest, curve(static_cast<double>(i) / kSamples));
    std::vector<std::uint8_t> table(static_cast<std::size_t>(steps) + 1);
    int below = 0;
    for (int step = 0; step <= steps; ++step) {
        const double root = static_cast<double>(step) / steps;
        const double level = root * root;
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
        table[static_cast<std::size_t>(step)] = static_cast<std::uint8_t>(std::lround(std::clamp(x, 0.0, 1.0) * 255));
    }
    return table;
}

std::uint32_t Pack(std::uint32_t pixel, int red, int green, int blue) {
    return (pixel & 0xFF000000u) | static_cast<std::uint32_t>(red) << 16 | static_cast<std::uint32_t>(green) << 8 |
           static_cast<std::uint32_t>(blue);
}

}  // namespace

MatrixShaperConversion::MatrixShaperConversion(const MatrixShaper& from, const MatrixShaper& to) {
    for (int channel = 0; channel < 3; ++channel) {
        for (int level = 0; level < 256; ++level) {
            linear_[channel][level] = static_cast<float>(from.curves[channel](level / 255.0));
        }
        encoded_[channel] = EncodingTable(to.curves[channel], kLinearSteps);
    }
    const Matrix3 fromXyz = Inverse(to.toXyz);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 3; ++k) sum += fromXyz[i][k] * from.toXyz[k][j];
            matrix_[i][j] = std::isfinite(sum) ? static_cast<float>(sum) : 0.0f;
        }
    }
}

std::uint32_t MatrixShaperConversion::ConvertOne(std::uint32_t pixel) const {
    const float r = linear_[0][pixel >> 16 & 0xFF];
    const float g = linear_[1][pixel >> 8 & 0xFF];
    const float b = linear_[2][pixel & 0xFF];
    int out[3];
    for (int i = 0; i < 3; ++i) {
        const float level = std::clamp(matrix_[i][0] * r + matrix_[i][1] * g + matrix_[i][2] * b, 0.0f, 1.0f);
        out[i] = encoded_[i][static_cast<std::size_t>(std::sqrt(level) * kLinearSteps + 0.5f)];
    }
    return Pack(pixel, out[0], out[1], out[2]);
}

void MatrixShaperConversion::Convert(std::uint32_t* pixels, std::size_t count) const {
    for (std::size_t i = 0; i < count; ++i) pixels[i] = ConvertOne(pixels[i]);
}

bool MatrixShaperConversion::ChangesNothing() const {
    const auto within = [this](std::uint32_t pixel) {
        const std::uint32_t converted = ConvertOne(pixel);
        for (int shift = 0; shift < 24; shift += 8) {
            if (std::abs(static_cast<int>(pixel >> shift & 0xFF) - static_cast<int>(converted >> shift & 0xFF)) > 1) return false;
        }
        return true;
    };
    for (std::uint32_t level = 0; level < 256; ++level) {
        if (!within(level * 0x010101u)) return false;
    }
    constexpr int kLevels[] = {0, 32, 64, 96, 128, 160, 192, 224, 255};
    for (int r : kLevels)
        for (int g : kLevels)
            for (int b : kLevels)
                if (!within(Pack(0, r, g, b))) return false;
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
