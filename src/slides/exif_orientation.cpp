#include "exif_orientation.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "jpeg_header.h"

namespace tessaro {
namespace {

constexpr std::uint16_t kOrientationTag = 274;
constexpr std::uint16_t kTypeShort = 3;
constexpr std::size_t kIfdEntryBytes = 12;
// Tags of an IFD come in ascending order and the orientation is among the first; a longer
// directory is not worth reading.
constexpr std::size_t kMaxIfdEntries = 512;

// A TIFF structure (a TIFF file, or the one inside a JPEG's EXIF segment) starting at base.
class TiffReader {
public:
    TiffReader(ByteSource& bytes, std::uint64_t base) : bytes_(bytes), base_(base) {}

    Orientation FirstIfdOrientation() {
        std::array<std::uint8_t, 8> header{};
        if (bytes_.ReadAt(base_, header.data(), header.size()) != header.size()) return Orientation::Normal;
        if (header[0] == 'I' && header[1] == 'I') {
            littleEndian_ = true;
        } else if (header[0] == 'M' && header[1] == 'M') {
            littleEndian_ = false;
        } else {
            return Orientation::Normal;
        }
        if (Get16(&header[2]) != 42) return Orientation::Normal;
        const std::uint64_t ifd = base_ + Get32(&header[4]);

        std::array<std::uint8_t, 2> countBytes{};
        if (bytes_.ReadAt(ifd, countBytes.data(), countBytes.size()) != countBytes.size()) return Orientation::Normal;
        const std::size_t count = std::min<std::size_t>(Get16(countBytes.data()), kMaxIfdEntries);
        if (count == 0) return Orientation::Normal;  // no tags, and no buffer to read them into
        std::vector<std::uint8_t> entries(count * kIfdEntryBytes);
        // A directory that claims more entries than there are is broken, and so not trusted.
        if (bytes_.ReadAt(ifd + 2, entries.data(), entries.size()) != entries.size()) return Orientation::Normal;
        for (std::size_t at = 0; at < entries.size(); at += kIfdEntryBytes) {
            const std::uint8_t* entry = &entries[at];
            if (Get16(entry) != kOrientationTag) continue;
            // One SHORT, held in the first two bytes of the value field.
            if (Get16(entry + 2) != kTypeShort || Get32(entry + 4) != 1) return Orientation::Normal;
            const std::uint16_t value = Get16(entry + 8);
            return value >= 1 && value <= 8 ? static_cast<Orientation>(value) : Orientation::Normal;
        }
        return Orientation::Normal;
    }

private:
    std::uint16_t Get16(const std::uint8_t* p) const {
        return littleEndian_ ? static_cast<std::uint16_t>(p[0] | p[1] << 8) : static_cast<std::uint16_t>(p[0] << 8 | p[1]);
    }
    std::uint32_t Get32(const std::uint8_t* p) const {
        const std::uint32_t low = Get16(littleEndian_ ? p : p + 2);
        const std::uint32_t high = Get16(littleEndian_ ? p + 2 : p);
        return high << 16 | low;
    }

    ByteSource& bytes_;
    std::uint64_t base_;
    bool littleEndian_ = true;
};

Orientation JpegOrientation(ByteSource& file) {
    Orientation orientation = Orientation::Normal;
    ForEachJpegSegment(file, [&](std::uint8_t type, std::uint64_t at, std::uint16_t length) {
        if (type != 0xE1) return true;  // APP1: EXIF when it starts with "Exif\0\0"
        std::array<std::uint8_t, 6> name{};
        if (length < 2 + name.size() + 8 || file.ReadAt(at + 4, name.data(), name.size()) != name.size() ||
            std::memcmp(name.data(), "Exif\0\0", name.size()) != 0) {
            return true;
        }
        // The TIFF structure may not reach past its segment.
        std::vector<std::uint8_t> tiff(length - 2 - name.size());
        if (file.ReadAt(at + 4 + name.size(), tiff.data(), tiff.size()) == tiff.size()) {
            MemoryBytes segmentBytes(tiff.data(), tiff.size());
            orientation = TiffReader(segmentBytes, 0).FirstIfdOrientation();
        }
        return false;
    });
    return orientation;
}

}  // namespace

Orientation ReadExifOrientation(ByteSource& file) {
    std::array<std::uint8_t, 4> magic{};
    if (file.ReadAt(0, magic.data(), magic.size()) != magic.size()) return Orientation::Normal;
    if (magic[0] == 0xFF && magic[1] == 0xD8) return JpegOrientation(file);
    const bool tiff = (magic[0] == 'I' && magic[1] == 'I' && magic[2] == 42 && magic[3] == 0) ||
                      (magic[0] == 'M' && magic[1] == 'M' && magic[2] == 0 && magic[3] == 42);
    return tiff ? TiffReader(file, 0).FirstIfdOrientation() : Orientation::Normal;
}

}  // namespace tessaro
