// The EXIF data of any file: JPEG, TIFF or anything else.

#include "slides/exif.h"

#include "fuzz_support.h"

using namespace tessaro;
using tessaro::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    fuzz::WatchedFile file(bytes, size);
    const ExifFacts facts = ReadExif(file);
    const auto value = static_cast<int>(facts.orientation);
    Require(value >= 1 && value <= 8, "the orientation is one of the eight");
    const bool jpeg = size >= 4 && bytes[0] == 0xFF && bytes[1] == 0xD8;
    const bool tiff = size >= 8 && (bytes[0] == 'I' || bytes[0] == 'M');
    Require(jpeg || tiff || (facts.orientation == Orientation::Normal && !facts.cameraAdobeRgb),
            "neither JPEG nor TIFF is as stored and says nothing of its colours");
    return 0;
}
