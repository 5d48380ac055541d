#pragma once
// Bytes of hand-made JPEG structures, and JPEG files changed by hand: for the readers of file
// headers, and for slides that lie.

#include <cstdint>
#include <string>

#include "support/bytes.h"

namespace tessaro {

inline Bytes Segment(unsigned marker, const Bytes& body) {
    Bytes segment{'\xFF', static_cast<char>(marker)};
    return segment + Be16(static_cast<unsigned>(2 + body.size())) + body;
}
inline const Bytes kSoi = "\xFF\xD8";
inline const Bytes kJfif = Segment(0xE0, Bytes("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14));
inline const Bytes kScan = Segment(0xDA, Bytes(10, '\x11')) + Bytes(100, '\x55') + "\xFF\xD9";

// Offset of the first marker segment of the type before the first scan (or the scan itself);
// npos when there is none.
inline std::size_t FindJpegSegment(const Bytes& jpeg, std::uint8_t type) {
    std::size_t at = 2;
    while (at + 4 <= jpeg.size() && static_cast<std::uint8_t>(jpeg[at]) == 0xFF) {
        const auto found = static_cast<std::uint8_t>(jpeg[at + 1]);
        if (found == type) return at;
        if (found == 0xDA) break;
        at += 2 + (static_cast<std::uint8_t>(jpeg[at + 2]) << 8 | static_cast<std::uint8_t>(jpeg[at + 3]));
    }
    return Bytes::npos;
}

// The JPEG with an ICC profile in APP2 segments of `pieces` parts right after its start, each
// saying it is one of `claimed` (by default, of `pieces`).
inline Bytes WithIccProfile(Bytes jpeg, const Bytes& profile, std::size_t pieces, int claimed = -1) {
    Bytes segments;
    const std::size_t part = (profile.size() + pieces - 1) / pieces;
    for (std::size_t i = 0; i < pieces; ++i) {
        segments += Segment(0xE2, Bytes("ICC_PROFILE\0", 12) + static_cast<char>(i + 1) +
                                      static_cast<char>(claimed < 0 ? pieces : static_cast<std::size_t>(claimed)) +
                                      profile.substr(i * part, part));
    }
    return jpeg.insert(2, segments);
}

}  // namespace tessaro
