#include "jpeg_header.h"

#include <algorithm>
#include <array>
#include <cstring>

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

JpegIccProfile ReadJpegIccProfile(ByteSource& file) {
    constexpr char kMark[] = "ICC_PROFILE";  // with its terminating zero, 12 bytes
    constexpr std::size_t kPieceHeader = sizeof(kMark) + 2;  // then the piece's number and the count
    JpegIccProfile profile;
    std::vector<std::vector<std::uint8_t>> pieces;  // by number, from 1
    int count = 0;
    if (!StartsAsJpeg(file)) return profile;
    ForEachJpegSegment(file, [&](std::uint8_t type, std::uint64_t at, std::uint16_t length) {
        if (type != 0xE2 || length < 2 + kPieceHeader) return true;
        std::vector<std::uint8_t> segment(length - 2u);
        if (file.ReadAt(at + 4, segment.data(), segment.size()) != segment.size() ||
            std::memcmp(segment.data(), kMark, sizeof(kMark)) != 0) {
            return true;
        }
        const int number = segment[sizeof(kMark)];
        const int of = segment[sizeof(kMark) + 1];
        if (!profile.present) count = of;
        profile.present = true;
        if (of != count || number < 1 || number > count) {
            count = -1;  // pieces that disagree: the profile cannot be trusted
            return false;
        }
        pieces.resize(static_cast<std::size_t>(count));
        std::vector<std::uint8_t>& piece = pieces[static_cast<std::size_t>(number - 1)];
        if (!piece.empty()) {
            count = -1;  // a piece twice
            return false;
        }
        piece.assign(segment.begin() + kPieceHeader, segment.end());
        return true;
    });
    profile.complete = profile.present && count > 0 &&
                       std::none_of(pieces.begin(), pieces.end(), [](const auto& piece) { return piece.empty(); });
    if (profile.complete) {
        for (const auto& piece : pieces) profile.bytes.insert(profile.bytes.end(), piece.begin(), piece.end());
    }
    return profile;
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
