#pragma once
// What a photo's EXIF data (in a JPEG's APP1 segment, or a TIFF file's own) says of how to show
// it: which way up it is meant to be seen, and whether its camera recorded Adobe RGB. The reader
// trusts nothing it reads: every offset and count is checked against what is really there, and
// anything odd means "as stored" and "not said".

#include <cstdint>

#include "byte_source.h"

namespace tessaro {

// The EXIF values 1 to 8: how the stored picture must be turned to be seen upright.
enum class Orientation : std::uint8_t {
    Normal = 1,
    MirrorHorizontal = 2,
    Rotate180 = 3,
    MirrorVertical = 4,
    Transpose = 5,   // mirrored across the top-left to bottom-right diagonal
    Rotate90 = 6,    // turned a quarter clockwise to be seen
    Transverse = 7,  // mirrored across the top-right to bottom-left diagonal
    Rotate270 = 8,   // turned a quarter anticlockwise to be seen
};

// True when the upright picture's width is the stored height.
constexpr bool SwapsAxes(Orientation orientation) {
    return orientation >= Orientation::Transpose;
}

// What the EXIF data says, read in one pass over the file.
struct ExifFacts {
    // The orientation tag (274), which cameras and phones write because they store the picture as
    // the sensor saw it. Normal for a file that is neither JPEG nor TIFF, that has no orientation
    // tag, or whose EXIF data is broken in any way.
    Orientation orientation = Orientation::Normal;
    // True when the camera marked the picture as Adobe RGB without a profile, as cameras do: its
    // colour space uncalibrated (tag 0xA001 = 0xFFFF) and its interoperability index "R03".
    bool cameraAdobeRgb = false;
};

ExifFacts ReadExif(ByteSource& file);

}  // namespace tessaro
