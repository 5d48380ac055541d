// The marker segments of any file taken for a JPEG, and the check of the size its frame declares.

#include "slides/jpeg_header.h"

#include "fuzz_support.h"

using namespace tessaro;
using tessaro::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size == 0) return 0;
    // The first byte says after how many segments the visitor stops; the rest is the file.
    const int stopAfter = bytes[0] % 80;
    fuzz::WatchedFile file(bytes + 1, size - 1);
    const std::uint64_t fileSize = size - 1;

    int visited = 0;
    std::uint64_t end = 2;  // after the start-of-image marker
    ForEachJpegSegment(file, [&](std::uint8_t type, std::uint64_t at, std::uint16_t length) {
        Require(at >= end && at + 4 <= fileSize, "segments come in order, each marker inside the file");
        Require(type != 0xFF && type != 0xDA && type != 0xD9, "fill bytes, the scan and the end are no segments");
        Require(length >= 2, "a segment's length counts itself");
        end = at + 2 + length;
        return ++visited <= stopAfter;
    });
    Require(visited <= 64, "at most 64 segments are visited");
    Require(visited <= stopAfter + 1, "the visit stops when told");

    fuzz::WatchedFile again(bytes + 1, size - 1);
    const bool claimsTooMuch = JpegClaimsMoreThanItHolds(again, fileSize);
    Require(!claimsTooMuch || (fileSize >= 2 && bytes[1] == 0xFF && bytes[2] == 0xD8), "only a JPEG can claim too much");
    fuzz::WatchedFile unbounded(bytes + 1, size - 1);
    Require(!JpegClaimsMoreThanItHolds(unbounded, UINT64_MAX), "no header claims more than the largest file holds");
    return 0;
}
