#include "slides/band_scaler.h"

#include "slides/bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>

namespace tessaro {
namespace {

std::uint32_t Gray(int v) {
    const auto c = static_cast<std::uint32_t>(v);
    return 0xFF000000u | c << 16 | c << 8 | c;
}
int Blue(std::uint32_t p) { return static_cast<int>(p & 0xFFu); }

// The scaler as the program had it before it scaled in bands, in floating point and the whole
// picture at once: along the rows first, then down the columns, each pass held to the range of
// the pixels it read. The band scaler must stay within one level of it.
Bitmap ReferenceScale(const Bitmap& source, int width, int height) {
    const auto taps = [](int d, int from, int to) {
        const double scale = static_cast<double>(from) / to;
        std::vector<std::pair<int, double>> result;
        if (scale >= 1.0) {  // the area each destination pixel covers
            const double start = d * scale, end = std::min((d + 1) * scale, static_cast<double>(from));
            for (int s = static_cast<int>(start); s < end; ++s)
                result.emplace_back(s, (std::min(end, s + 1.0) - std::max(start, static_cast<double>(s))) / scale);
        } else {  // Keys' bicubic, a = -0.5, edge pixels repeated
            const double centre = (d + 0.5) * scale - 0.5;
            for (int s = static_cast<int>(std::floor(centre)) - 1; s <= static_cast<int>(std::floor(centre)) + 2; ++s) {
                const double x = std::fabs(centre - s);
                const double w = x < 1 ? (1.5 * x - 2.5) * x * x + 1 : x < 2 ? ((-0.5 * x + 2.5) * x - 4) * x + 2 : 0;
                result.emplace_back(std::clamp(s, 0, from - 1), w);
            }
        }
        return result;
    };
    // One pass along the rows or down the columns, over three channels a pixel.
    const auto pass = [&](const std::vector<double>& in, int inW, int inH, int outW, int outH, bool rows) {
        std::vector<double> out(static_cast<std::size_t>(outW) * outH * 3);
        std::vector<std::vector<std::pair<int, double>>> plan;
        for (int d = 0; d < (rows ? outW : outH); ++d) plan.push_back(taps(d, rows ? inW : inH, rows ? outW : outH));
        for (int y = 0; y < outH; ++y)
            for (int x = 0; x < outW; ++x)
                for (int c = 0; c < 3; ++c) {
                    double acc = 0, low = 255, high = 0;
                    for (const auto& [s, w] : plan[static_cast<std::size_t>(rows ? x : y)]) {
                        const double v = in[(static_cast<std::size_t>(rows ? y : s) * inW + (rows ? s : x)) * 3 + c];
                        acc += w * v;
                        low = std::min(low, v);
                        high = std::max(high, v);
                    }
                    out[(static_cast<std::size_t>(y) * outW + x) * 3 + c] = std::clamp(acc, low, high);
                }
        return out;
    };
    std::vector<double> pixels;
    for (std::uint32_t p : source.pixels)
        for (int c = 0; c < 3; ++c) pixels.push_back((p >> (8 * c)) & 0xFF);
    const auto across = pass(pixels, source.width, source.height, width, source.height, true);
    const auto both = pass(across, width, source.height, width, height, false);
    Bitmap result(width, height);
    for (std::size_t i = 0; i < result.pixels.size(); ++i)
        for (int c = 0; c < 3; ++c) result.pixels[i] |= static_cast<std::uint32_t>(std::lround(both[i * 3 + c])) << (8 * c);
    return result;
}

// Runs a picture through the band scaler, bandRows rows at a time (0: all at once).
Bitmap Scale(const Bitmap& source, int width, int height, int bandRows = 0) {
    Bitmap result(width, height, 0);
    int expectedRow = 0;
    BandScaler scaler(source.width, source.height, width, height, [&](int y, const std::uint32_t* row) {
        EXPECT_EQ(y, expectedRow++) << "rows come out in order, each once";
        std::copy(row, row + width, &result.At(0, y));
    });
    const int band = bandRows > 0 ? bandRows : source.height;
    for (int top = 0; top < source.height; top += band) {
        scaler.AddRows(reinterpret_cast<const std::uint8_t*>(&source.pixels[static_cast<std::size_t>(top) * source.width]),
                       std::min(band, source.height - top), static_cast<std::size_t>(source.width) * 4, PixelLayout::Bgrx32);
    }
    EXPECT_EQ(expectedRow, height) << "every output row is delivered";
    return result;
}

Bitmap Noise(int width, int height, unsigned seed, bool smooth) {
    std::mt19937 random(seed);
    Bitmap picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t r = random();
            // Smooth: a gentle gradient with a little noise, like a photo; otherwise hard noise.
            const std::uint32_t base = smooth ? static_cast<std::uint32_t>((x * 255 / width + y * 255 / height) / 2) * 0x010101u : 0;
            const std::uint32_t jitter = smooth ? (r & 0x0F0F0F) : (r & 0xFFFFFF);
            picture.At(x, y) = 0xFF000000u | ((base + jitter) & 0xFFFFFFu);
        }
    }
    return picture;
}

TEST(BandScaler, KeepsAUniformColourExactlyAtEverySize) {
    const std::uint32_t colour = 0xFF3C9A21u;
    struct Size {
        int fromW, fromH, toW, toH;
    };
    const Size sizes[] = {{4, 4, 4, 4},     {10, 10, 3, 7},         {7, 3, 1024, 384},     {1, 1, 5, 9},
                          {2000, 500, 1024, 256}, {500, 2000, 192, 768}, {3, 1000, 700, 20}, {1000, 3, 1, 1}};
    for (const Size& s : sizes) {
        const Bitmap out = Scale(Bitmap(s.fromW, s.fromH, colour), s.toW, s.toH, 5);
        for (std::uint32_t p : out.pixels) ASSERT_EQ(p, colour) << s.fromW << "x" << s.fromH << " -> " << s.toW << "x" << s.toH;
    }
}

TEST(BandScaler, DownscalingAveragesTheCoveredArea) {
    struct Case {
        const char* what;
        std::vector<int> pixels;  // row by row
        int fromWidth, toWidth, toHeight;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"halved: each output is the mean of the two it covers", {0, 100, 200, 40}, 4, 2, 1, {50, 120}},
        {"3 into 2: weights 2/3,1/3 and 1/3,2/3", {0, 90, 180}, 3, 2, 1, {30, 150}},
        {"six pixels into one: a mean of 108.5 rounds up", {52, 146, 15, 118, 147, 173}, 2, 1, 1, {109}},
        {"2 x 3 into 1 x 2, rounded once at the end", {91, 79, 213, 32, 173, 179}, 2, 1, 2, {98, 158}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int fromHeight = static_cast<int>(c.pixels.size()) / c.fromWidth;
        Bitmap picture(c.fromWidth, fromHeight);
        for (std::size_t i = 0; i < c.pixels.size(); ++i) picture.pixels[i] = Gray(c.pixels[i]);
        const Bitmap out = Scale(picture, c.toWidth, c.toHeight);
        for (std::size_t i = 0; i < c.expected.size(); ++i) EXPECT_EQ(Blue(out.pixels[i]), c.expected[i]) << "output " << i;
    }
    Bitmap board(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) board.At(x, y) = Gray(((x + y) % 2) ? 255 : 0);
    for (std::uint32_t p : Scale(board, 8, 8, 3).pixels) EXPECT_NEAR(Blue(p), 128, 1) << "a fine checkerboard gives its mean";
}

TEST(BandScaler, PlansWeightsThatSumToOneRoundedToTheNearest) {
    struct Case {
        int from, to;
        std::vector<int> first;
        std::vector<std::int32_t> weights;  // 14 bits; the rounding error goes to the largest
    };
    const Case cases[] = {
        {2, 1, {0}, {8192, 8192}},
        {3, 2, {0, 1}, {10923, 5461, 5461, 10923}},
        {5, 2, {0, 2}, {6553, 6554, 3277, 3277, 6553, 6554}},  // 0.4 0.4 0.2: 6553.6 rounds up
    };
    for (const Case& c : cases) {
        const BandScaler::AxisPlan plan = BandScaler::PlanAxis(c.from, c.to);
        EXPECT_EQ(plan.first, c.first) << c.from << " into " << c.to;
        EXPECT_EQ(plan.weights, c.weights) << c.from << " into " << c.to;
    }
}

TEST(BandScaler, UpscalingIsSmoothAndHeldWithinTheSourceRange) {
    struct Case {
        const char* axis;
        int fromW, fromH, toW, toH;
    };
    const Case cases[] = {{"across", 2, 1, 16, 1}, {"down", 1, 2, 1, 16}, {"both", 2, 2, 16, 16}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.axis);
        // Dark at the start, light at the end of the axis that grows.
        Bitmap edge(c.fromW, c.fromH, Gray(0));
        edge.At(c.fromW - 1, c.fromH - 1) = Gray(200);
        if (c.fromW > 1 && c.fromH > 1) edge.At(c.fromW - 1, 0) = edge.At(0, c.fromH - 1) = Gray(100);
        const Bitmap big = Scale(edge, c.toW, c.toH);
        const auto at = [&](int i) { return Blue(big.At(c.toW > 1 ? i : 0, c.toH > 1 ? i : 0)); };
        const int last = (c.toW > 1 ? c.toW : c.toH) - 1;
        EXPECT_EQ(at(0), 0) << "the outer pixels keep the source colours";
        EXPECT_EQ(at(last), 200);
        int distinct = 0;
        for (int i = 1; i <= last; ++i) {
            EXPECT_GE(at(i), at(i - 1)) << "no ringing at " << i;
            EXPECT_LE(at(i), 200) << "no overshoot at " << i;
            distinct += at(i) != at(i - 1);
        }
        EXPECT_GE(distinct, 6) << "a smooth ramp, not the two blocks of nearest-neighbour";
    }

    // A bright spike: bicubic overshoots beside it and must be held to the source range on both
    // axes, not wrap around.
    for (const bool vertical : {false, true}) {
        Bitmap spike(vertical ? 1 : 5, vertical ? 5 : 1, Gray(0));
        spike.At(vertical ? 0 : 2, vertical ? 2 : 0) = Gray(255);
        const Bitmap big = Scale(spike, vertical ? 1 : 40, vertical ? 40 : 1, 2);
        int darkest = 255;
        for (std::uint32_t p : big.pixels) {
            ASSERT_EQ(p >> 24, 0xFFu);
            ASSERT_EQ(Blue(p), static_cast<int>((p >> 8) & 0xFF));
            darkest = std::min(darkest, Blue(p));
        }
        EXPECT_EQ(darkest, 0) << (vertical ? "down the column" : "along the row") << ": no undershoot below black";
        EXPECT_EQ(Blue(big.pixels.front()), 0);
    }
}

TEST(BandScaler, StaysWithinOneLevelOfTheWholePictureScaler) {
    struct Case {
        int fromW, fromH, toW, toH;
        bool smooth;
    };
    const Case cases[] = {
        {600, 400, 102, 68, true},  {640, 480, 211, 158, false}, {97, 61, 97, 61, false},  // shrink; same size
        {300, 200, 1024, 683, true}, {40, 30, 1024, 768, true},                           // grow
        {1000, 7, 1024, 7, true},    {7, 1000, 7, 768, true},                             // one axis only
        {5, 7, 20, 5, false},  // wider, and shorter by 7 to 5, which takes three rows for one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fromW << "x" << c.fromH << " -> " << c.toW << "x" << c.toH);
        const Bitmap source = Noise(c.fromW, c.fromH, static_cast<unsigned>(c.fromW * 31 + c.toW), c.smooth);
        const Bitmap ours = Scale(source, c.toW, c.toH, 64);
        const Bitmap reference = ReferenceScale(source, c.toW, c.toH);
        int worst = 0;
        for (std::size_t i = 0; i < ours.pixels.size(); ++i) {
            for (int shift = 0; shift < 24; shift += 8) {
                const int a = static_cast<int>((ours.pixels[i] >> shift) & 0xFF);
                const int b = static_cast<int>((reference.pixels[i] >> shift) & 0xFF);
                worst = std::max(worst, std::abs(a - b));
            }
        }
        EXPECT_LE(worst, 1);
    }
}

TEST(BandScaler, TheResultDoesNotDependOnHowTheRowsAreBanded) {
    const Bitmap source = Noise(333, 251, 5, false);
    const Bitmap whole = Scale(source, 120, 90);
    for (const int band : {1, 2, 7, 64}) EXPECT_EQ(Scale(source, 120, 90, band).pixels, whole.pixels) << "bands of " << band;
}

TEST(BandScaler, ReadsBothPixelLayouts) {
    const Bitmap source = Noise(50, 40, 9, true);
    std::vector<std::uint8_t> packed;
    for (std::uint32_t p : source.pixels) packed.insert(packed.end(), {std::uint8_t(p), std::uint8_t(p >> 8), std::uint8_t(p >> 16)});
    Bitmap fromPacked(20, 16, 0);
    BandScaler scaler(50, 40, 20, 16, [&](int y, const std::uint32_t* row) { std::copy(row, row + 20, &fromPacked.At(0, y)); });
    scaler.AddRows(packed.data(), 40, 150, PixelLayout::Bgr24);
    EXPECT_EQ(fromPacked.pixels, Scale(source, 20, 16).pixels);
}

}  // namespace
}  // namespace tessaro
