#pragma once
// What the header of a JPEG file says, read as warily as its EXIF orientation: the marker segments
// before its first scan, and whether the size its frame header declares can be true.

#include <cstdint>
#include <functional>
#include <vector>

#include "byte_source.h"

namespace tessaro {

// The file begins with a JPEG's start-of-image marker.
bool StartsAsJpeg(ByteSource& file);

// Calls visit(type, at, length) for each marker segment from the start of a JPEG file up to its
// first scan: at is the offset of the segment's marker, length the segment's own length field
// (which counts itself). Stops when visit returns false, and at anything that is not a segment.
using JpegSegmentVisitor = std::function<bool(std::uint8_t type, std::uint64_t at, std::uint16_t length)>;
void ForEachJpegSegment(ByteSource& file, const JpegSegmentVisitor& visit);

// The ICC profile a JPEG carries in APP2 segments marked "ICC_PROFILE", each holding a piece and
// its place among how many: the pieces joined in order. Not present when there is no such segment;
// not complete when pieces are missing, repeated or do not agree on their number.
struct JpegIccProfile {
    bool present = false;
    bool complete = false;
    std::vector<std::uint8_t> bytes;
};
JpegIccProfile ReadJpegIccProfile(ByteSource& file);

// True for a JPEG whose frame header declares more pixels than a file of fileBytes can encode:
// every 8 x 8 block of a full-resolution component takes at least one bit, so a file holds at
// most 512 pixels a byte. A decoder that believed such a header would fill in the missing
// picture (Wine's does, gigabytes of it) instead of saying that the file is broken.
bool JpegClaimsMoreThanItHolds(ByteSource& file, std::uint64_t fileBytes);

}  // namespace tessaro
