#include "jpeg_header.h"

#include <array>

namespace tessaro {
namespace {

// The segments before a JPEG's first scan: plenty for any camera or editor.
constexpr int kMaxJpegSegments = 64;
constexpr std::uint64_t kMostPixelsPerByte = 64 * 8;

// SOF0 to SOF15, but for DHT (C4), JPG (C8) and DAC (CC), which share the range.
bool IsFrameHeader(std::uint8_t type) {
    return type >= 0xC0 && type <= 0xCF && type != 0xC4 && type != 0xC8 && type != 0xCC;
}

}  // namespace

bool StartsAsJpeg(ByteSource& file) {
    std::array<std::uint8_t, 2> start{};
    return file.ReadAt(0, start.data(), start.size()) == start.size() && start[0] == 0xFF && start[1] == 0xD8;
}

void ForEachJpegSegment(ByteSource& file, const JpegSegmentVisitor& visit) {
    std::uint64_t at = 2;  // after the start-of-image marker
    for (int segment = 0; segment < kMaxJpegSegments; ++segment) {
        std::array<std::uint8_t, 4> marker{};
        if (file.ReadAt(at, marker.data(), marker.size()) != marker.size() || marker[0] != 0xFF) return;
        const std::uint8_t type = marker[1];
        // Start of scan or end of image: the header is over.
        if (type == 0xDA || type == 0xD9) return;
        if (type == 0xFF) {  // a fill byte before the marker
            ++at;
            continue;
        }
        const auto length = static_cast<std::uint16_t>(marker[2] << 8 | marker[3]);
        if (length < 2 || !visit(type, at, length)) return;
        at += 2 + static_cast<std::uint64_t>(length);
    }
}

bool JpegClaimsMoreThanItHolds(ByteSource& file, std::uint64_t fileBytes) {
    if (!StartsAsJpeg(file)) return false;
    std::uint64_t pixels = 0;
    ForEachJpegSegment(file, [&](std::uint8_t type, std::uint64_t at, std::uint16_t length) {
        if (!IsFrameHeader(type)) return true;
        std::array<std::uint8_t, 5> frame{};  // sample precision, height, width
        if (length >= 2 + frame.size() && file.ReadAt(at + 4, frame.data(), frame.size()) == frame.size()) {
            pixels = static_cast<std::uint64_t>(frame[1] << 8 | frame[2]) * static_cast<std::uint64_t>(frame[3] << 8 | frame[4]);
        }
        return false;
    });
    return pixels / kMostPixelsPerByte > fileBytes;
}

}  // namespace tessaro
