#pragma once
// PNG files made by hand: the chunks, their checksums, and the pixels stored uncompressed.

#include <algorithm>
#include <functional>
#include <string>

#include "support/bytes.h"

namespace tessaro {

inline std::string PngChunk(const std::string& type, const std::string& data) {
    return Be32(static_cast<std::uint32_t>(data.size())) + type + data + Be32(Crc32(type + data));
}

// A zlib stream of stored (uncompressed) blocks.
inline std::string StoredZlib(const std::string& raw) {
    std::string z = "\x78\x01";
    std::size_t at = 0;
    do {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
        const bool last = at + n == raw.size();
        z += static_cast<char>(last ? 1 : 0);
        z += Le16(static_cast<std::uint32_t>(n)) + Le16(static_cast<std::uint32_t>(~n & 0xFFFF));
        z += raw.substr(at, n);
        at += n;
    } while (at < raw.size());
    std::uint32_t a = 1, b = 0;
    for (char c : raw) {
        a = (a + static_cast<std::uint8_t>(c)) % 65521;
        b = (b + a) % 65521;
    }
    return z + Be32(b << 16 | a);
}

// Rows of pixel(x, y) bytes, each row after its filter byte (none).
inline std::string PngRows(int width, int height, const std::function<std::string(int x, int y)>& pixel) {
    std::string rows;
    for (int y = 0; y < height; ++y) {
        rows += '\0';
        for (int x = 0; x < width; ++x) rows += pixel(x, y);
    }
    return rows;
}

inline std::string Png(std::uint32_t width, std::uint32_t height, int depth, int colourType, const std::string& rows,
                       const std::string& chunksBeforeData = {}) {
    const std::string header = Be32(width) + Be32(height) + static_cast<char>(depth) + static_cast<char>(colourType) +
                               std::string(3, '\0');
    return std::string("\x89PNG\r\n\x1A\n", 8) + PngChunk("IHDR", header) + chunksBeforeData +
           PngChunk("IDAT", StoredZlib(rows)) + PngChunk("IEND", "");
}

}  // namespace tessaro
