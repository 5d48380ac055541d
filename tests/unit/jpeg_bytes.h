#pragma once
// Bytes of hand-made JPEG and TIFF structures, for the tests of the readers of file headers.

#include <string>

namespace tessaro {

using Bytes = std::string;

inline Bytes Be16(unsigned v) { return {char(v >> 8), char(v)}; }
inline Bytes Le16(unsigned v) { return {char(v), char(v >> 8)}; }
inline Bytes Be32(unsigned v) { return Be16(v >> 16) + Be16(v & 0xFFFF); }
inline Bytes Le32(unsigned v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }

inline Bytes Segment(unsigned marker, const Bytes& body) {
    Bytes segment{'\xFF', static_cast<char>(marker)};
    return segment + Be16(static_cast<unsigned>(2 + body.size())) + body;
}
inline const Bytes kSoi = "\xFF\xD8";
inline const Bytes kJfif = Segment(0xE0, Bytes("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14));
inline const Bytes kScan = Segment(0xDA, Bytes(10, '\x11')) + Bytes(100, '\x55') + "\xFF\xD9";

}  // namespace tessaro
