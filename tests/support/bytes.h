#pragma once
// Bytes of hand-made file structures: integers in either byte order, the CRC-32 that PNG
// chunks and ZIP entries carry, and bytes that make no sense.

#include <cstdint>
#include <random>
#include <string>

namespace tessaro {

using Bytes = std::string;

inline Bytes Be16(std::uint32_t v) { return {static_cast<char>(v >> 8 & 0xFF), static_cast<char>(v & 0xFF)}; }
inline Bytes Le16(std::uint32_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; }
inline Bytes Be32(std::uint32_t v) { return Be16(v >> 16) + Be16(v & 0xFFFF); }
inline Bytes Le32(std::uint32_t v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }

inline std::uint32_t Crc32(const Bytes& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= static_cast<std::uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

// Bytes that make no sense, the same for the same seed.
inline Bytes RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    Bytes bytes(size, '\0');
    for (char& b : bytes) b = static_cast<char>(random());
    return bytes;
}

}  // namespace tessaro
