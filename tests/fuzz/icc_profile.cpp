// Any file taken for a JPEG whose ICC profile is joined from its pieces, and any bytes taken for
// a profile: read, checked, and when they make a matrix profile, converted from and into sRGB.

#include "colour/colour_conversion.h"
#include "fuzz_support.h"
#include "slides/jpeg_header.h"

using namespace tessaro;
using tessaro::fuzz::Require;

namespace {

void Read(const ProfileBytes& bytes) {
    ProfileProblem problem = ProfileProblem::None;
    const std::optional<IccProfile> profile = ReadIccProfile(bytes, problem);
    Require(profile.has_value() == (problem == ProfileProblem::None), "a profile, or why not");
    Require(!profile || (profile->bytes.size() <= bytes.size() && profile->intent >= 0 && profile->intent <= 3), "as read");
    if (!profile || !profile->matrixShaper) return;
    for (const auto& [from, to] : {std::pair{*profile->matrixShaper, SrgbShaper()}, std::pair{SrgbShaper(), *profile->matrixShaper}}) {
        const MatrixShaperConversion conversion(from, to);
        std::uint32_t pixels[] = {0x00000000u, 0xFFFFFFFFu, 0x80808080u, 0x12345678u, 0xFFFF0000u, 0xFF0000FFu};
        conversion.Convert(pixels, std::size(pixels));
        Require(pixels[0] >> 24 == 0x00 && pixels[1] >> 24 == 0xFF && pixels[3] >> 24 == 0x12, "alpha stays");
        SameColours(from, to);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    fuzz::WatchedFile file(bytes, size);
    const JpegIccProfile jpeg = ReadJpegIccProfile(file);
    Require(jpeg.present || !jpeg.complete, "only a profile that is there is complete");
    Require(jpeg.complete || jpeg.bytes.empty(), "no bytes of an incomplete profile");
    Require(jpeg.bytes.size() <= size, "the pieces come from the file");
    Read(jpeg.bytes);
    Read(ProfileBytes(bytes, bytes + size));
    return 0;
}
