#include "exif.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <vector>

#include "jpeg_header.h"

namespace tessaro {
namespace {

constexpr std::uint16_t kOrientationTag = 274;
constexpr std::uint16_t kExifDirectoryTag = 0x8769;
constexpr std::uint16_t kColourSpaceTag = 0xA001;
constexpr std::uint16_t kInteroperabilityDirectoryTag = 0xA005;
constexpr std::uint16_t kInteroperabilityIndexTag = 0x0001;
constexpr std::uint16_t kTypeAscii = 2;
constexpr std::uint16_t kTypeShort = 3;
constexpr std::uint16_t kTypeLong = 4;
constexpr std::uint16_t kUncalibrated = 0xFFFF;
constexpr std::size_t kIfdEntryBytes = 12;
// Tags of an IFD come in ascending order and the ones read here are among the first; a longer
// directory is not worth reading.
constexpr std::size_t kMaxIfdEntries = 512;

// A TIFF structure (a TIFF file, or the one inside a JPEG's EXIF segment) starting at base.
class TiffReader {
public:
    TiffReader(ByteSource& bytes, std::uint64_t base) : bytes_(bytes), base_(base) {}

    // The value of a tag that holds one SHORT, or one LONG, in the directory at offset (0: none).
    std::optional<std::uint32_t> Short(std::uint64_t directory, std::uint16_t tag) { return One(directory, tag, kTypeShort); }
    std::optional<std::uint32_t> Long(std::uint64_t directory, std::uint16_t tag) { return One(directory, tag, kTypeLong); }

    // A text of at most four bytes, with its zero, which the entry holds itself.
    std::optional<std::array<std::uint8_t, 4>> ShortText(std::uint64_t directory, std::uint16_t tag) {
        const std::optional<std::array<std::uint8_t, 10>> entry = Entry(directory, tag);
        const std::uint32_t count = entry ? Get32(&(*entry)[2]) : 0;
        if (!entry || Get16(entry->data()) != kTypeAscii || count == 0 || count > 4) return std::nullopt;
        std::array<std::uint8_t, 4> text{};
        std::copy_n(entry->begin() + 6, count, text.begin());
        return text;
    }

    // The first directory's offset; 0 when this is no TIFF structure.
    std::uint64_t FirstDirectory() {
        std::array<std::uint8_t, 8> header{};
        if (bytes_.ReadAt(base_, header.data(), header.size()) != header.size()) return 0;
        if (header[0] == 'I' && header[1] == 'I') {
            littleEndian_ = true;
        } else if (header[0] == 'M' && header[1] == 'M') {
            littleEndian_ = false;
        } else {
            return 0;
        }
        return Get16(&header[2]) == 42 ? Get32(&header[4]) : 0;
    }

private:
    std::optional<std::uint32_t> One(std::uint64_t directory, std::uint16_t tag, std::uint16_t type) {
        const std::optional<std::array<std::uint8_t, 10>> entry = Entry(directory, tag);
        if (!entry || Get16(entry->data()) != type || Get32(&(*entry)[2]) != 1) return std::nullopt;
        // A SHORT is held in the first two bytes of the value field.
        return type == kTypeShort ? Get16(&(*entry)[6]) : Get32(&(*entry)[6]);
    }

    // The type, count and value fields of a tag's entry in the directory at offset.
    std::optional<std::array<std::uint8_t, 10>> Entry(std::uint64_t offset, std::uint16_t tag) {
        if (offset == 0) return std::nullopt;
        std::array<std::uint8_t, 2> countBytes{};
        if (bytes_.ReadAt(base_ + offset, countBytes.data(), countBytes.size()) != countBytes.size()) return std::nullopt;
        const std::size_t count = std::min<std::size_t>(Get16(countBytes.data()), kMaxIfdEntries);
        if (count == 0) return std::nullopt;  // no tags, and no buffer to read them into
        std::vector<std::uint8_t> entries(count * kIfdEntryBytes);
        // A directory that claims more entries than there are is broken, and so not trusted.
        if (bytes_.ReadAt(base_ + offset + 2, entries.data(), entries.size()) != entries.size()) return std::nullopt;
        for (std::size_t at = 0; at < entries.size(); at += kIfdEntryBytes) {
            if (Get16(&entries[at]) != tag) continue;
            std::array<std::uint8_t, 10> fields{};
            std::copy_n(&entries[at + 2], fields.size(), fields.begin());
            return fields;
        }
        return std::nullopt;
    }

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

Orientation OrientationIn(TiffReader& tiff, std::uint64_t firstDirectory) {
    const std::optional<std::uint32_t> value = tiff.Short(firstDirectory, kOrientationTag);
    return value && *value >= 1 && *value <= 8 ? static_cast<Orientation>(*value) : Orientation::Normal;
}

// Cameras that record Adobe RGB say their colour space is uncalibrated, and give R03 as the
// interoperability index: the rule of the camera file system standard (DCF).
bool AdobeRgbIn(TiffReader& tiff, std::uint64_t firstDirectory) {
    const std::optional<std::uint32_t> exif = tiff.Long(firstDirectory, kExifDirectoryTag);
    if (!exif || tiff.Short(*exif, kColourSpaceTag) != kUncalibrated) return false;
    const std::optional<std::uint32_t> interoperability = tiff.Long(*exif, kInteroperabilityDirectoryTag);
    const std::optional<std::array<std::uint8_t, 4>> index =
        interoperability ? tiff.ShortText(*interoperability, kInteroperabilityIndexTag) : std::nullopt;
    return index && std::memcmp(index->data(), "R03", 4) == 0;
}

ExifFacts FactsIn(TiffReader& tiff) {
    const std::uint64_t firstDirectory = tiff.FirstDirectory();
    return {OrientationIn(tiff, firstDirectory), AdobeRgbIn(tiff, firstDirectory)};
}

}  // namespace

ExifFacts ReadExif(ByteSource& file) {
    std::array<std::uint8_t, 4> magic{};
    if (file.ReadAt(0, magic.data(), magic.size()) != magic.size()) return {};
    const bool tiffFile = (magic[0] == 'I' && magic[1] == 'I' && magic[2] == 42 && magic[3] == 0) ||
                          (magic[0] == 'M' && magic[1] == 'M' && magic[2] == 0 && magic[3] == 42);
    if (tiffFile) {
        TiffReader tiff(file, 0);
        return FactsIn(tiff);
    }
    ExifFacts facts;
    if (!StartsAsJpeg(file)) return facts;
    ForEachJpegSegment(file, [&](std::uint8_t type, std::uint64_t at, std::uint16_t length) {
        if (type != 0xE1) return true;  // APP1: EXIF when it starts with "Exif\0\0"
        std::array<std::uint8_t, 6> name{};
        if (length < 2 + name.size() + 8 || file.ReadAt(at + 4, name.data(), name.size()) != name.size() ||
            std::memcmp(name.data(), "Exif\0\0", name.size()) != 0) {
            return true;
        }
        // The TIFF structure may not reach past its segment.
        std::vector<std::uint8_t> tiffBytes(length - 2 - name.size());
        if (file.ReadAt(at + 4 + name.size(), tiffBytes.data(), tiffBytes.size()) == tiffBytes.size()) {
            MemoryBytes segmentBytes(tiffBytes.data(), tiffBytes.size());
            TiffReader tiff(segmentBytes, 0);
            facts = FactsIn(tiff);
        }
        return false;
    });
    return facts;
}

}  // namespace tessaro
