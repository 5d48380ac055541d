#include "icc_profile.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "matrix3.h"

namespace tessaro {
namespace {

constexpr std::size_t kHeaderBytes = 128;
constexpr std::size_t kTagEntryBytes = 12;
constexpr std::array<double, 3> kD50{0.9642, 1.0, 0.8249};

constexpr std::uint32_t Sig(const char (&text)[5]) {
    return static_cast<std::uint32_t>(text[0]) << 24 | static_cast<std::uint32_t>(text[1]) << 16 |
           static_cast<std::uint32_t>(text[2]) << 8 | static_cast<std::uint32_t>(text[3]);
}

std::uint32_t Be32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}
std::uint16_t Be16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] << 8 | p[1]); }
double S15Fixed16(const std::uint8_t* p) { return static_cast<std::int32_t>(Be32(p)) / 65536.0; }

// A tag's bytes inside the profile, found in its tag table.
struct TagData {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::uint32_t Type() const { return size >= 4 ? Be32(data) : 0; }
};

class TagTable {
public:
    // Checks every entry; the problem when one does not hold.
    TagTable(const ProfileBytes& bytes, ProfileProblem& problem) : bytes_(bytes) {
        const std::uint64_t count = Be32(&bytes[kHeaderBytes]);
        const std::uint64_t tableEnd = kHeaderBytes + 4 + count * kTagEntryBytes;
        if (tableEnd > bytes.size()) {
            problem = ProfileProblem::Truncated;
            return;
        }
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint8_t* entry = &bytes[kHeaderBytes + 4 + i * kTagEntryBytes];
            const std::uint64_t offset = Be32(entry + 4);
            const std::uint64_t size = Be32(entry + 8);
            if (offset < tableEnd || size < 8 || offset + size > bytes.size()) {
                problem = ProfileProblem::TagOutside;
                return;
            }
            tags_.push_back({Be32(entry), static_cast<std::size_t>(offset), static_cast<std::size_t>(size)});
        }
    }

    std::optional<TagData> Find(std::uint32_t signature) const {
        for (const Entry& tag : tags_) {
            if (tag.signature == signature) return TagData{&bytes_[tag.offset], tag.size};
        }
        return std::nullopt;
    }
    bool Has(std::uint32_t signature) const { return Find(signature).has_value(); }

private:
    struct Entry {
        std::uint32_t signature;
        std::size_t offset;
        std::size_t size;
    };
    const ProfileBytes& bytes_;
    std::vector<Entry> tags_;
};

std::optional<std::array<double, 3>> ReadXyz(const TagTable& tags, std::uint32_t signature) {
    const std::optional<TagData> tag = tags.Find(signature);
    if (!tag || tag->Type() != Sig("XYZ ") || tag->size < 20) return std::nullopt;
    return std::array<double, 3>{S15Fixed16(tag->data + 8), S15Fixed16(tag->data + 12), S15Fixed16(tag->data + 16)};
}

std::optional<ToneCurve> ReadCurve(const TagTable& tags, std::uint32_t signature) {
    const std::optional<TagData> tag = tags.Find(signature);
    if (!tag || tag->size < 12) return std::nullopt;
    if (tag->Type() == Sig("curv")) {
        const std::uint64_t count = Be32(tag->data + 8);
        if (12 + 2 * count > tag->size) return std::nullopt;
        if (count == 0) return ToneCurve::Gamma(1.0);
        if (count == 1) return ToneCurve::Gamma(Be16(tag->data + 12) / 256.0);  // u8Fixed8
        std::vector<std::uint16_t> samples(count);
        for (std::size_t i = 0; i < count; ++i) samples[i] = Be16(tag->data + 12 + 2 * i);
        return ToneCurve::Table(std::move(samples));
    }
    if (tag->Type() == Sig("para")) {
        constexpr std::size_t kParameters[] = {1, 3, 4, 5, 7};
        const int type = Be16(tag->data + 8);
        if (type > 4 || 12 + 4 * kParameters[type] > tag->size) return std::nullopt;
        std::array<double, 7> parameters{};
        for (std::size_t i = 0; i < kParameters[type]; ++i) parameters[i] = S15Fixed16(tag->data + 12 + 4 * i);
        return ToneCurve::Parametric(type, parameters);
    }
    return std::nullopt;
}

bool HasLookupTables(const TagTable& tags) {
    for (std::uint32_t signature : {Sig("A2B0"), Sig("A2B1"), Sig("A2B2"), Sig("B2A0"), Sig("B2A1"), Sig("B2A2")}) {
        if (tags.Has(signature)) return true;
    }
    return false;
}

// The matrix and curves of a matrix profile; MissingTag when a part is missing or of a wrong type.
std::optional<MatrixShaper> ReadMatrixShaper(const TagTable& tags, ColourModel model, ProfileProblem& problem) {
    MatrixShaper shaper;
    if (model == ColourModel::Gray) {
        const std::optional<ToneCurve> gray = ReadCurve(tags, Sig("kTRC"));
        if (!gray) {
            problem = ProfileProblem::MissingTag;
            return std::nullopt;
        }
        shaper.curves = {*gray, *gray, *gray};
        for (int row = 0; row < 3; ++row) shaper.toXyz[row] = {kD50[row] / 3, kD50[row] / 3, kD50[row] / 3};
        return shaper;
    }
    const std::uint32_t colorants[] = {Sig("rXYZ"), Sig("gXYZ"), Sig("bXYZ")};
    const std::uint32_t curves[] = {Sig("rTRC"), Sig("gTRC"), Sig("bTRC")};
    for (int channel = 0; channel < 3; ++channel) {
        const std::optional<std::array<double, 3>> colorant = ReadXyz(tags, colorants[channel]);
        const std::optional<ToneCurve> curve = ReadCurve(tags, curves[channel]);
        if (!colorant || !curve) {
            problem = ProfileProblem::MissingTag;
            return std::nullopt;
        }
        shaper.curves[channel] = *curve;
        for (int row = 0; row < 3; ++row) shaper.toXyz[row][channel] = (*colorant)[row];
    }
    return shaper;
}

std::array<double, 3> XyzOfChromaticity(const std::array<double, 2>& xy) {
    return {xy[0] / xy[1], 1.0, (1.0 - xy[0] - xy[1]) / xy[1]};
}

// --- writing ---------------------------------------------------------------------------------

void Put32(ProfileBytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}
void Put16(ProfileBytes& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}
void PutFixed(ProfileBytes& out, double value) { Put32(out, static_cast<std::uint32_t>(std::lround(value * 65536.0))); }
void PutText(ProfileBytes& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}

ProfileBytes XyzTag(const std::array<double, 3>& xyz) {
    ProfileBytes tag;
    Put32(tag, Sig("XYZ "));
    Put32(tag, 0);
    for (double v : xyz) PutFixed(tag, v);
    return tag;
}

ProfileBytes CurveTag(const ToneCurve& curve) {
    constexpr int kSamples = 1024;
    ProfileBytes tag;
    Put32(tag, Sig("curv"));
    Put32(tag, 0);
    if (const std::optional<double> gamma = curve.PlainGamma()) {
        Put32(tag, 1);
        Put16(tag, static_cast<std::uint16_t>(std::lround(*gamma * 256)));  // u8Fixed8
        return tag;
    }
    Put32(tag, kSamples);
    for (int i = 0; i < kSamples; ++i) Put16(tag, static_cast<std::uint16_t>(std::lround(curve(i / (kSamples - 1.0)) * 65535)));
    return tag;
}

}  // namespace

// --- tone curves -----------------------------------------------------------------------------

ToneCurve ToneCurve::Gamma(double gamma) { return Parametric(0, {gamma}); }

ToneCurve ToneCurve::Table(std::vector<std::uint16_t> samples) {
    ToneCurve curve;
    curve.samples_ = std::move(samples);
    return curve;
}

ToneCurve ToneCurve::Parametric(int type, const std::array<double, 7>& parameters) {
    ToneCurve curve;
    curve.type_ = type;
    curve.parameters_ = parameters;
    return curve;
}

ToneCurve ToneCurve::Srgb() { return Parametric(3, {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045}); }

std::optional<double> ToneCurve::PlainGamma() const {
    if (samples_.empty() && type_ == 0) return parameters_[0];
    return std::nullopt;
}

double ToneCurve::operator()(double x) const {
    x = std::clamp(x, 0.0, 1.0);
    double y = 0.0;
    if (!samples_.empty()) {
        const double at = x * static_cast<double>(samples_.size() - 1);
        const auto below = std::min(static_cast<std::size_t>(at), samples_.size() - 2);
        const double fraction = at - static_cast<double>(below);
        y = (samples_[below] * (1 - fraction) + samples_[below + 1] * fraction) / 65535.0;
    } else {
        const double g = parameters_[0], a = parameters_[1], b = parameters_[2], c = parameters_[3], d = parameters_[4],
                     e = parameters_[5], f = parameters_[6];
        const auto power = [&](double base) { return base > 0 ? std::pow(base, g) : 0.0; };
        switch (type_) {
            case 0: y = std::pow(x, g); break;
            case 1: y = power(a * x + b); break;
            case 2: y = a * x + b >= 0 ? power(a * x + b) + c : c; break;
            case 3: y = x >= d ? power(a * x + b) : c * x; break;
            case 4: y = x >= d ? power(a * x + b) + e : c * x + f; break;
        }
    }
    return std::isfinite(y) ? std::clamp(y, 0.0, 1.0) : 0.0;
}

// --- reading ---------------------------------------------------------------------------------

std::string_view Describe(ProfileProblem problem) {
    switch (problem) {
        case ProfileProblem::None: return "none";
        case ProfileProblem::Truncated: return "the profile is cut short";
        case ProfileProblem::NotAProfile: return "it is no ICC profile";
        case ProfileProblem::UnsupportedClass: return "a profile of a class that describes no picture";
        case ProfileProblem::UnsupportedSpace: return "a profile of a colour space other than RGB, gray or CMYK";
        case ProfileProblem::TagOutside: return "a tag of the profile lies outside it";
        case ProfileProblem::MissingTag: return "a tag the profile needs is missing or broken";
        case ProfileProblem::DoesNotFitPixels: return "the profile's colour space is not the picture's";
        case ProfileProblem::SegmentsDoNotAddUp: return "the picture's pieces of the profile do not add up";
        case ProfileProblem::RefusedByEngine: return "the system's colour engine refused the profile";
    }
    return "unknown";
}

std::optional<IccProfile> ReadIccProfile(ProfileBytes bytes, ProfileProblem& problem) {
    problem = ProfileProblem::None;
    const auto refuse = [&](ProfileProblem why) {
        problem = why;
        return std::nullopt;
    };
    if (bytes.size() < kHeaderBytes + 4) return refuse(ProfileProblem::Truncated);
    const std::uint32_t declared = Be32(bytes.data());
    if (declared < kHeaderBytes + 4 || declared > bytes.size()) return refuse(ProfileProblem::Truncated);
    bytes.resize(declared);  // some writers pad what they embed
    if (Be32(&bytes[36]) != Sig("acsp")) return refuse(ProfileProblem::NotAProfile);

    const std::uint32_t deviceClass = Be32(&bytes[12]);
    if (deviceClass != Sig("mntr") && deviceClass != Sig("scnr") && deviceClass != Sig("spac") &&
        deviceClass != Sig("prtr")) {
        return refuse(ProfileProblem::UnsupportedClass);
    }
    IccProfile profile;
    switch (Be32(&bytes[16])) {
        case Sig("RGB "): profile.model = ColourModel::Rgb; break;
        case Sig("GRAY"): profile.model = ColourModel::Gray; break;
        case Sig("CMYK"): profile.model = ColourModel::Cmyk; break;
        default: return refuse(ProfileProblem::UnsupportedSpace);
    }
    const std::uint32_t connection = Be32(&bytes[20]);
    if (connection != Sig("XYZ ") && connection != Sig("Lab ")) return refuse(ProfileProblem::UnsupportedSpace);
    const std::uint32_t intent = Be32(&bytes[64]);
    profile.intent = intent <= 3 ? static_cast<int>(intent) : 0;

    const TagTable tags(bytes, problem);
    if (problem != ProfileProblem::None) return std::nullopt;
    // A matrix leads to XYZ; anything else is for the engine to make sense of.
    if (profile.model != ColourModel::Cmyk && connection == Sig("XYZ ") && !HasLookupTables(tags)) {
        profile.matrixShaper = ReadMatrixShaper(tags, profile.model, problem);
        if (!profile.matrixShaper) return std::nullopt;
    }
    profile.bytes = std::move(bytes);
    return profile;
}

// --- writing ---------------------------------------------------------------------------------

ProfileBytes WriteMatrixProfile(const MatrixShaper& shaper, std::string_view description) {
    std::vector<std::pair<std::uint32_t, ProfileBytes>> tags;
    ProfileBytes desc;
    Put32(desc, Sig("desc"));
    Put32(desc, 0);
    Put32(desc, static_cast<std::uint32_t>(description.size() + 1));
    PutText(desc, description);
    desc.resize(desc.size() + 4 + 4 + 2 + 1 + 67, 0);  // no Unicode and no ScriptCode description
    tags.emplace_back(Sig("desc"), desc);
    ProfileBytes copyright;
    Put32(copyright, Sig("text"));
    Put32(copyright, 0);
    PutText(copyright, "No copyright, use freely");
    tags.emplace_back(Sig("cprt"), copyright);
    tags.emplace_back(Sig("wtpt"), XyzTag(kD50));
    const std::uint32_t colorants[] = {Sig("rXYZ"), Sig("gXYZ"), Sig("bXYZ")};
    const std::uint32_t curves[] = {Sig("rTRC"), Sig("gTRC"), Sig("bTRC")};
    for (int channel = 0; channel < 3; ++channel) {
        tags.emplace_back(colorants[channel],
                          XyzTag({shaper.toXyz[0][channel], shaper.toXyz[1][channel], shaper.toXyz[2][channel]}));
    }
    for (int channel = 0; channel < 3; ++channel) tags.emplace_back(curves[channel], CurveTag(shaper.curves[channel]));

    ProfileBytes header(kHeaderBytes, 0);
    ProfileBytes table;
    Put32(table, static_cast<std::uint32_t>(tags.size()));
    ProfileBytes data;
    std::size_t offset = kHeaderBytes + 4 + tags.size() * kTagEntryBytes;
    for (const auto& [signature, tag] : tags) {
        Put32(table, signature);
        Put32(table, static_cast<std::uint32_t>(offset + data.size()));
        Put32(table, static_cast<std::uint32_t>(tag.size()));
        data.insert(data.end(), tag.begin(), tag.end());
        data.resize((data.size() + 3) / 4 * 4, 0);  // tags start on four-byte boundaries
    }
    ProfileBytes profile;
    Put32(profile, static_cast<std::uint32_t>(kHeaderBytes + table.size() + data.size()));
    Put32(profile, 0);
    Put32(profile, 0x02100000);  // version 2.1
    Put32(profile, Sig("mntr"));
    Put32(profile, Sig("RGB "));
    Put32(profile, Sig("XYZ "));
    profile.resize(36, 0);  // no date: the same profile is always the same bytes
    Put32(profile, Sig("acsp"));
    profile.resize(68, 0);  // platform, flags, maker, model, attributes, perceptual intent
    for (double v : kD50) PutFixed(profile, v);
    profile.resize(kHeaderBytes, 0);
    profile.insert(profile.end(), table.begin(), table.end());
    profile.insert(profile.end(), data.begin(), data.end());
    return profile;
}

std::array<std::array<double, 3>, 3> ColorantsFromChromaticities(const std::array<std::array<double, 2>, 4>& xy) {
    Matrix3 primaries{};
    for (int channel = 0; channel < 3; ++channel) {
        const std::array<double, 3> xyz = XyzOfChromaticity(xy[channel]);
        for (int row = 0; row < 3; ++row) primaries[row][channel] = xyz[row];
    }
    const std::array<double, 3> white = XyzOfChromaticity(xy[3]);
    const std::array<double, 3> scale = Multiply(Inverse(primaries), white);
    for (int row = 0; row < 3; ++row)
        for (int channel = 0; channel < 3; ++channel) primaries[row][channel] *= scale[channel];
    // Bradford's adaptation from the space's white to the profile connection space's, D50.
    const Matrix3 bradford{{{0.8951, 0.2664, -0.1614}, {-0.7502, 1.7135, 0.0367}, {0.0389, -0.0685, 1.0296}}};
    const std::array<double, 3> from = Multiply(bradford, white);
    const std::array<double, 3> to = Multiply(bradford, kD50);
    Matrix3 cone{};
    for (int i = 0; i < 3; ++i) cone[i][i] = to[i] / from[i];
    return Multiply(Multiply(Inverse(bradford), Multiply(cone, bradford)), primaries);
}

MatrixShaper SrgbShaper() {
    MatrixShaper shaper;
    shaper.curves.fill(ToneCurve::Srgb());
    shaper.toXyz = ColorantsFromChromaticities({{{0.64, 0.33}, {0.30, 0.60}, {0.15, 0.06}, {0.3127, 0.3290}}});
    return shaper;
}

MatrixShaper AdobeRgbShaper() {
    MatrixShaper shaper;
    shaper.curves.fill(ToneCurve::Gamma(563.0 / 256.0));
    shaper.toXyz = ColorantsFromChromaticities({{{0.64, 0.33}, {0.21, 0.71}, {0.15, 0.06}, {0.3127, 0.3290}}});
    return shaper;
}

}  // namespace tessaro
