#include "slide_colours.h"

#include <algorithm>

namespace tessaro {
namespace {

IccProfile StandardProfile(const MatrixShaper& shaper, std::string_view description) {
    ProfileProblem ignored;
    return *ReadIccProfile(WriteMatrixProfile(shaper, description), ignored);
}

}  // namespace

SlideColours::SlideColours(ColourEngine engine)
    : engine_(std::move(engine)),
      srgb_(StandardProfile(SrgbShaper(), "sRGB, as a picture without a profile is taken to be")),
      adobeRgb_(StandardProfile(AdobeRgbShaper(), "Adobe RGB (1998), as the camera marked the picture")) {}

SlideColours::Choice SlideColours::For(const SlideColourSource& source, const ProfileBytes* monitor) {
    Choice choice;
    if (source.pixels != ColourModel::Rgb && source.pixels != ColourModel::Gray) return choice;

    const auto read = [&](const ProfileBytes& bytes, bool monitors, ColourModel pixels) -> std::optional<IccProfile> {
        ProfileProblem problem = ProfileProblem::None;
        std::optional<IccProfile> profile = ReadIccProfile(bytes, problem);
        // A gray picture's profile must be gray, an RGB picture's RGB.
        if (profile && profile->model != pixels) problem = ProfileProblem::DoesNotFitPixels;
        if (problem == ProfileProblem::None) return profile;
        choice.notes.push_back({monitors, problem});
        return std::nullopt;
    };
    std::optional<IccProfile> target = monitor ? read(*monitor, true, ColourModel::Rgb) : std::nullopt;
    const IccProfile& to = target ? *target : srgb_;

    if (source.embeddedProblem != ProfileProblem::None) choice.notes.push_back({false, source.embeddedProblem});
    std::optional<IccProfile> embedded = source.embedded ? read(*source.embedded, false, source.pixels) : std::nullopt;
    const IccProfile& from = embedded ? *embedded : source.cameraAdobeRgb ? adobeRgb_ : srgb_;

    if (Conversion(from, to, choice.conversion)) return choice;
    // The engine refused one of the two: the slide's, unless sRGB fares no better.
    if (&from != &srgb_ && Conversion(srgb_, to, choice.conversion)) {
        choice.notes.push_back({false, ProfileProblem::RefusedByEngine});
    } else {
        choice.notes.push_back({true, ProfileProblem::RefusedByEngine});
        choice.conversion.reset();
    }
    return choice;
}

bool SlideColours::Conversion(const IccProfile& from, const IccProfile& to, std::shared_ptr<const ColourConversion>& conversion) {
    const auto same = std::find_if(made_.begin(), made_.end(), [&](const Made& m) { return m.from == from.bytes && m.to == to.bytes; });
    if (same != made_.end()) {
        std::rotate(same, same + 1, made_.end());  // most recent last
        conversion = made_.back().conversion;
        return !made_.back().refused;
    }

    conversion.reset();
    bool refused = false;
    if (from.bytes == to.bytes) {
        // One profile: nothing to convert.
    } else if (from.matrixShaper && to.matrixShaper && from.intent != 3) {
        // Matrix profiles convert alike with every intent but the absolute one, which the engine does.
        if (!SameColours(*from.matrixShaper, *to.matrixShaper)) {
            conversion = std::make_shared<MatrixShaperConversion>(*from.matrixShaper, *to.matrixShaper);
        }
    } else {
        const int nodes = from.model == ColourModel::Gray ? 0 : kLatticeNodes;
        std::optional<std::vector<std::uint8_t>> rgb = engine_ ? engine_(from, to, nodes) : std::nullopt;
        const std::size_t expected = nodes ? static_cast<std::size_t>(nodes) * nodes * nodes * 3 : 256 * 3;
        refused = !rgb || rgb->size() != expected;
        if (!refused && nodes) conversion = std::make_shared<LatticeConversion>(nodes, std::move(*rgb));
        if (!refused && !nodes) conversion = std::make_shared<GrayConversion>(std::move(*rgb));
    }
    if (made_.size() == kConversionsKept) made_.erase(made_.begin());
    made_.push_back({from.bytes, to.bytes, conversion, refused});
    return !refused;
}

}  // namespace tessaro
