#pragma once
// A picture in memory: 32-bit pixels, 0xAARRGGBB (byte order B, G, R, A), rows top-down.

#include <cstdint>
#include <vector>

namespace tessaro {

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    Bitmap() = default;
    Bitmap(int w, int h, std::uint32_t fill = 0xFF000000u)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

    std::uint32_t& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

inline constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;

}  // namespace tessaro
