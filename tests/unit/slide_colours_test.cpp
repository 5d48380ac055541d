#include "colour/slide_colours.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tessaro {
namespace {

ProfileBytes Written(const MatrixShaper& shaper) { return WriteMatrixProfile(shaper, "test"); }

// A profile the saver cannot convert itself: a table where its red colorant was.
ProfileBytes TableProfile() {
    ProfileBytes bytes = Written(AdobeRgbShaper());
    const std::uint8_t colorant[] = {'r', 'X', 'Y', 'Z'}, table[] = {'A', '2', 'B', '0'};
    std::copy(std::begin(table), std::end(table), std::search(bytes.begin(), bytes.end(), std::begin(colorant), std::end(colorant)));
    return bytes;
}

TEST(SlideColours, TheEngineIsAskedOnceForEachPairAndACmykSlideNotAtAll) {
    int asked = 0;
    SlideColours colours([&](const IccProfile&, const IccProfile&, int nodes) -> std::optional<std::vector<std::uint8_t>> {
        ++asked;
        return std::vector<std::uint8_t>(static_cast<std::size_t>(nodes) * nodes * nodes * 3);
    });
    const ProfileBytes wide = Written(AdobeRgbShaper());
    SlideColourSource tables{TableProfile()};
    EXPECT_TRUE(colours.For(tables, &wide).conversion);
    EXPECT_TRUE(colours.For(tables, &wide).conversion);
    EXPECT_EQ(asked, 1) << "the engine's lattice is made once for a pair of profiles";
    SlideColourSource cmyk;
    cmyk.pixels = ColourModel::Cmyk;
    EXPECT_FALSE(colours.For(cmyk, &wide).conversion) << "a CMYK slide stays as decoded";
}

}  // namespace
}  // namespace tessaro
