#pragma once
// Which colours a slide is shown in. A picture with a profile is converted from it into the
// monitor's profile, or into sRGB when the monitor has none; a picture without one is taken to be
// sRGB, or Adobe RGB when its camera says so the way cameras do (EXIF: uncalibrated, with the
// interoperability index R03). Where the two are the same space, nothing is converted: most
// slides are sRGB, shown on a monitor that is sRGB too, and cost nothing. A CMYK picture stays as
// the decoder made it. A profile that cannot be used is passed over, and the slide shown as if
// it had none, with the reason for a trace.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "colour_conversion.h"
#include "icc_profile.h"

namespace tessaro {

// What the slide's file says of its colours.
struct SlideColourSource {
    std::optional<ProfileBytes> embedded;  // the profile the picture carries
    ProfileProblem embeddedProblem = ProfileProblem::None;  // why one it carries could not be taken out
    bool cameraAdobeRgb = false;
    ColourModel pixels = ColourModel::Rgb;  // what its decoder delivers
};

// The system's colour engine converting colours from one profile into another with the rendering
// intent `from` asks for: 8-bit RGB for each of nodes^3 RGB colours (red slowest, levels
// multiples of LatticeConversion::Step(nodes)), or, with nodes 0, for each of the 256 levels of a
// gray `from`. Empty when the engine refuses.
using ColourEngine =
    std::function<std::optional<std::vector<std::uint8_t>>(const IccProfile& from, const IccProfile& to, int nodes)>;

class SlideColours {
public:
    // Every fifth level: a table of 140,608 colours, which the engine makes in tens of
    // milliseconds, and tetrahedral interpolation stays within a level or two of the engine's own
    // result for smooth conversions.
    static constexpr int kLatticeNodes = 52;

    explicit SlideColours(ColourEngine engine);

    struct Note {
        bool monitors;  // the monitor's profile, else the slide's
        ProfileProblem problem;
    };
    struct Choice {
        std::shared_ptr<const ColourConversion> conversion;  // none: the pixels stay as decoded
        std::vector<Note> notes;  // each profile passed over, and why
    };
    // monitor: the primary monitor's profile; null when it has none.
    Choice For(const SlideColourSource& source, const ProfileBytes* monitor);

private:
    // The conversion between two profiles, made once for each pair; false when the engine refused.
    bool Conversion(const IccProfile& from, const IccProfile& to, std::shared_ptr<const ColourConversion>& conversion);

    struct Made {
        ProfileBytes from;
        ProfileBytes to;
        std::shared_ptr<const ColourConversion> conversion;
        bool refused;
    };
    static constexpr std::size_t kConversionsKept = 8;

    ColourEngine engine_;
    IccProfile srgb_;
    IccProfile adobeRgb_;
    std::vector<Made> made_;  // the most recent last
};

}  // namespace tessaro
