#pragma once
// Bytes of hand-made JPEG and TIFF structures, for the tests of the readers of file headers.

#include "support/bytes.h"

namespace tessaro {

inline Bytes Segment(unsigned marker, const Bytes& body) {
    Bytes segment{'\xFF', static_cast<char>(marker)};
    return segment + Be16(static_cast<unsigned>(2 + body.size())) + body;
}
inline const Bytes kSoi = "\xFF\xD8";
inline const Bytes kJfif = Segment(0xE0, Bytes("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14));
inline const Bytes kScan = Segment(0xDA, Bytes(10, '\x11')) + Bytes(100, '\x55') + "\xFF\xD9";

}  // namespace tessaro
