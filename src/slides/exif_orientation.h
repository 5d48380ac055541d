#pragma once
// Which way up a photo is meant to be seen: the EXIF orientation (tag 274) of a JPEG or TIFF
// file. Cameras and phones store the picture as the sensor saw it and record in this tag how
// to turn it. The reader trusts nothing it reads: every offset and count is checked against
// what is really there, and anything odd means "as stored".

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

// Normal for a file that is neither JPEG nor TIFF, that has no orientation tag, or whose EXIF
// data is broken in any way.
Orientation ReadExifOrientation(ByteSource& file);

}  // namespace tessaro
