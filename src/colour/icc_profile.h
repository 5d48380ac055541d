#pragma once
// ICC colour profiles: read as warily as any other part of a slide file, since a profile comes
// with the picture. A profile is used only when its header and every tag it needs hold up;
// otherwise the reason is given and the slide is shown as if it had none.
//
// A profile that describes its colours by three primaries and a tone curve per channel (a matrix
// profile: most camera, phone and editor spaces, and most monitors) is read into a MatrixShaper,
// which the saver converts with itself; any other goes to the system's colour engine whole.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tessaro {

using ProfileBytes = std::vector<std::uint8_t>;

// A tone curve of an ICC profile, from encoded values to linear light, both 0 to 1.
class ToneCurve {
public:
    static ToneCurve Gamma(double gamma);
    // Samples evenly spaced over 0 to 1, as 16-bit values; at least two.
    static ToneCurve Table(std::vector<std::uint16_t> samples);
    // ICC parametric function type 0 to 4 with its parameters g, a, b, c, d, e, f.
    static ToneCurve Parametric(int type, const std::array<double, 7>& parameters);
    // The sRGB standard's curve.
    static ToneCurve Srgb();

    double operator()(double x) const;  // clamped to 0 to 1
    // The gamma, for a curve that is a plain power.
    std::optional<double> PlainGamma() const;

private:
    // A plain gamma is parametric type 0.
    int type_ = 0;
    std::array<double, 7> parameters_{1.0};
    std::vector<std::uint16_t> samples_;  // a table when not empty
};

// Linear RGB to the profile connection space (XYZ, D50): the columns are the red, green and
// blue colorants. For a gray profile all three columns are a third of the white, and the three
// curves the same: gray pixels are R = G = B.
struct MatrixShaper {
    std::array<ToneCurve, 3> curves;
    std::array<std::array<double, 3>, 3> toXyz{};
};

enum class ColourModel { Rgb, Gray, Cmyk, Other };

// What is wrong with a profile, or with using it for a picture.
enum class ProfileProblem {
    None,
    Truncated,             // shorter than its header says, or than a header and tag table
    NotAProfile,           // no 'acsp' signature
    UnsupportedClass,      // a device link, an abstract or a named-colour profile
    UnsupportedSpace,      // neither RGB, gray nor CMYK data, or a PCS other than XYZ and Lab
    TagOutside,            // a tag that reaches outside the profile, or into its tag table
    MissingTag,            // a matrix tag without the others it needs, or a tag of the wrong type
    DoesNotFitPixels,      // an RGB profile on gray pixels, and the like
    SegmentsDoNotAddUp,    // a JPEG's ICC segments: missing, repeated or miscounted
    RefusedByEngine,       // the system's colour engine could not use it
};

// Why, in a few words, for a trace.
std::string_view Describe(ProfileProblem problem);

struct IccProfile {
    ProfileBytes bytes;  // the profile alone, as long as its header says
    ColourModel model = ColourModel::Other;
    int intent = 0;      // the rendering intent its header asks for, 0 to 3
    // Set for a plain matrix profile (no lookup tables, which an engine would prefer).
    std::optional<MatrixShaper> matrixShaper;
};

// The profile in bytes, checked; empty with the reason otherwise.
std::optional<IccProfile> ReadIccProfile(ProfileBytes bytes, ProfileProblem& problem);

// A matrix profile in bytes (ICC version 2.1, display class), for the colour engine: the
// camera rule's Adobe RGB and the sRGB that untagged pictures are taken to be.
ProfileBytes WriteMatrixProfile(const MatrixShaper& shaper, std::string_view description);

// Colorants adapted to D50 (Bradford), from chromaticities x, y of red, green, blue and white.
std::array<std::array<double, 3>, 3> ColorantsFromChromaticities(const std::array<std::array<double, 2>, 4>& xy);

// The standard spaces the saver knows without a profile.
MatrixShaper SrgbShaper();
MatrixShaper AdobeRgbShaper();  // Adobe RGB (1998): its published primaries, D65 and gamma 563/256

}  // namespace tessaro
