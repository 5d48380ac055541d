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

TEST(SlideColours, TheEngineIsAskedOnceForEachPairAndARefusalMeansUntagged) {
    int asked = 0;
    bool refuses = false;
    SlideColours colours([&](const IccProfile&, const IccProfile&, int nodes) -> std::optional<std::vector<std::uint8_t>> {
        ++asked;
        if (refuses) return std::nullopt;
        return std::vector<std::uint8_t>(static_cast<std::size_t>(nodes) * nodes * nodes * 3);
    });
    const ProfileBytes wide = Written(AdobeRgbShaper());
    SlideColourSource tables{TableProfile()};
    EXPECT_TRUE(colours.For(tables, wide).conversion);
    EXPECT_TRUE(colours.For(tables, wide).conversion);
    EXPECT_EQ(asked, 1) << "the engine's lattice is made once for a pair of profiles";

    refuses = true;
    const SlideColours::Choice refused = colours.For(tables, Written(SrgbShaper()));
    EXPECT_FALSE(refused.conversion) << "as if untagged, on an sRGB monitor";
    ASSERT_EQ(refused.notes.size(), 1u);
    EXPECT_EQ(refused.notes[0].problem, ProfileProblem::RefusedByEngine);
    EXPECT_FALSE(refused.notes[0].monitors);

    SlideColourSource cmyk;
    cmyk.pixels = ColourModel::Cmyk;
    EXPECT_FALSE(colours.For(cmyk, wide).conversion) << "a CMYK slide stays as decoded";
    SlideColourSource untagged;
    EXPECT_TRUE(colours.For(untagged, wide).conversion) << "an untagged slide is sRGB";
}

}  // namespace
}  // namespace tessaro
