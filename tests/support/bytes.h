#pragma once
// Bytes of hand-made file structures: integers in either byte order, and the CRC-32 that PNG
// chunks and ZIP entries carry.

#include <cstdint>
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

}  // namespace tessaro
