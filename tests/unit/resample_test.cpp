#include "saver/resample.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tessaro {
namespace {

std::uint32_t Gray(int v) {
    const auto c = static_cast<std::uint32_t>(v);
    return 0xFF000000u | c << 16 | c << 8 | c;
}
int Blue(std::uint32_t p) { return static_cast<int>(p & 0xFFu); }

TEST(Resample, KeepsAUniformColourExactlyAtEverySize) {
    const std::uint32_t colour = 0xFF3C9A21u;
    struct Size {
        int fromW, fromH, toW, toH;
    };
    const Size sizes[] = {{4, 4, 4, 4},     {10, 10, 3, 7},   {7, 3, 1024, 384}, {1, 1, 5, 9},
                          {2000, 500, 1024, 256}, {500, 2000, 192, 768}, {3, 1000, 700, 20}};
    for (const Size& s : sizes) {
        const Bitmap out = Resample(Bitmap(s.fromW, s.fromH, colour), s.toW, s.toH);
        ASSERT_EQ(out.width, s.toW);
        ASSERT_EQ(out.height, s.toH);
        for (std::uint32_t p : out.pixels) ASSERT_EQ(p, colour) << s.fromW << "x" << s.fromH << " -> " << s.toW << "x" << s.toH;
    }
}

TEST(Resample, DownscalingAveragesTheCoveredArea) {
    // A 4-pixel row 0, 100, 200, 40 halved: each output is the mean of the two it covers.
    Bitmap row(4, 1);
    const int values[] = {0, 100, 200, 40};
    for (int x = 0; x < 4; ++x) row.At(x, 0) = Gray(values[x]);
    const Bitmap half = Resample(row, 2, 1);
    EXPECT_EQ(Blue(half.At(0, 0)), 50);
    EXPECT_EQ(Blue(half.At(1, 0)), 120);

    // A fractional step: 3 pixels into 2 gives weights 2/3,1/3 and 1/3,2/3.
    Bitmap three(3, 1);
    three.At(0, 0) = Gray(0);
    three.At(1, 0) = Gray(90);
    three.At(2, 0) = Gray(180);
    const Bitmap two = Resample(three, 2, 1);
    EXPECT_EQ(Blue(two.At(0, 0)), 30);
    EXPECT_EQ(Blue(two.At(1, 0)), 150);
}

TEST(Resample, DownscalingAFineCheckerboardGivesItsMeanNotAliasing) {
    Bitmap board(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) board.At(x, y) = Gray(((x + y) % 2) ? 255 : 0);
    const Bitmap small = Resample(board, 8, 8);
    for (std::uint32_t p : small.pixels) EXPECT_NEAR(Blue(p), 128, 1);
}

TEST(Resample, UpscalingIsSmoothAndMonotonicAcrossAnEdgeOnEitherAxis) {
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
        const Bitmap big = Resample(edge, c.toW, c.toH);
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
}

TEST(Resample, StaysWithinTheByteRangeOnHardEdges) {
    // Bicubic overshoots on a 0-255-0 spike; the result must clamp, not wrap.
    Bitmap spike(5, 1, Gray(0));
    spike.At(2, 0) = Gray(255);
    const Bitmap wide = Resample(spike, 40, 1);
    for (std::uint32_t p : wide.pixels) {
        EXPECT_LE(Blue(p), 255);
        EXPECT_EQ(p >> 24, 0xFFu);
        EXPECT_EQ(Blue(p), static_cast<int>((p >> 8) & 0xFF));
    }
    EXPECT_EQ(Blue(wide.At(0, 0)), 0);
}

}  // namespace
}  // namespace tessaro
