#include "slides/exif.h"

#include <gtest/gtest.h>

#include "support/jpeg_bytes.h"

namespace tessaro {
namespace {

struct Entry {
    unsigned tag, type, count, value;
};

// A TIFF structure: header, then (at ifdOffset, padded) one directory of the given entries.
// countOverride claims another number of entries than there are.
Bytes Tiff(bool littleEndian, const std::vector<Entry>& entries, unsigned ifdOffset = 8, int countOverride = -1) {
    const auto u16 = littleEndian ? Le16 : Be16;
    const auto u32 = littleEndian ? Le32 : Be32;
    Bytes tiff = littleEndian ? "II" : "MM";
    tiff += u16(42) + u32(ifdOffset);
    if (ifdOffset < 8) return tiff;
    tiff.resize(ifdOffset, '\0');
    tiff += u16(countOverride >= 0 ? static_cast<unsigned>(countOverride) : static_cast<unsigned>(entries.size()));
    for (const Entry& e : entries) {
        // A SHORT sits in the first two bytes of the value field.
        tiff += u16(e.tag) + u16(e.type) + u32(e.count) + (e.type == 3 ? u16(e.value) + u16(0) : u32(e.value));
    }
    return tiff + u32(0);
}

Bytes Orientation6Le() { return Tiff(true, {{256, 3, 1, 640}, {274, 3, 1, 6}}); }

Bytes Exif(const Bytes& tiff) { return Segment(0xE1, Bytes("Exif\0\0", 6) + tiff); }

struct Case {
    const char* what;
    Bytes file;
    Orientation expected;
};

TEST(ExifOrientation, ReadsTheTagOfJpegAndTiffFiles) {
    Bytes tiffAtEnd = Tiff(false, {}, 8);
    tiffAtEnd.replace(4, 4, Be32(5000));
    tiffAtEnd.resize(5000, '\x20');  // picture data before the directory, as many writers put it
    tiffAtEnd += Be16(1) + Be16(274) + Be16(3) + Be32(1) + Be16(3) + Be16(0) + Be32(0);

    const Case cases[] = {
        {"JPEG, Intel byte order", kSoi + Exif(Orientation6Le()) + kScan, Orientation::Rotate90},
        {"JPEG, Motorola byte order", kSoi + Exif(Tiff(false, {{274, 3, 1, 8}})) + kScan, Orientation::Rotate270},
        {"JPEG, EXIF after JFIF", kSoi + kJfif + Exif(Tiff(true, {{274, 3, 1, 3}})) + kScan, Orientation::Rotate180},
        {"JPEG, fill bytes before a marker", kSoi + "\xFF\xFF" + Exif(Tiff(true, {{274, 3, 1, 2}})) + kScan,
         Orientation::MirrorHorizontal},
        {"JPEG, an odd number of fill bytes", kSoi + "\xFF\xFF\xFF" + Exif(Tiff(true, {{274, 3, 1, 4}})) + kScan,
         Orientation::MirrorVertical},
        {"JPEG, every value", kSoi + Exif(Tiff(true, {{274, 3, 1, 7}})) + kScan, Orientation::Transverse},
        {"TIFF file with the tag in its first directory", Tiff(true, {{274, 3, 1, 5}}), Orientation::Transpose},
        {"TIFF file with its directory after the picture data", tiffAtEnd, Orientation::Rotate180},
        {"explicit normal", kSoi + Exif(Tiff(true, {{274, 3, 1, 1}})) + kScan, Orientation::Normal},
    };
    for (const Case& c : cases) {
        MemoryBytes bytes(reinterpret_cast<const std::uint8_t*>(c.file.data()), c.file.size());
        EXPECT_EQ(ReadExif(bytes).orientation, c.expected) << c.what;
    }
}

TEST(ExifOrientation, AnythingBrokenOrMissingMeansAsStored) {
    const Bytes good = Exif(Orientation6Le());
    Bytes pastTheSegment = Orientation6Le();
    pastTheSegment.replace(4, 4, Le32(200));  // the directory would lie beyond the segment's end
    // A TIFF header alone, whose directory (at 12) would be the first bytes of the next segment.
    const Bytes intoTheNextSegment = Exif(Bytes("II", 2) + Le16(42) + Le32(12)) +
                                     Segment(0xE2, Le16(1) + Le16(274) + Le16(3) + Le32(1) + Le16(6) + Le16(0) + Le32(0));
    std::vector<Entry> manyEntries(520, Entry{700, 1, 1, 0});
    manyEntries.back() = Entry{274, 3, 1, 6};
    const Case cases[] = {
        {"empty", "", Orientation::Normal},
        {"not a picture", "hello, world", Orientation::Normal},
        {"JPEG without EXIF", kSoi + kJfif + kScan, Orientation::Normal},
        {"APP1 that is not EXIF", kSoi + Segment(0xE1, "http://ns.adobe.com/xap/1.0/\0<x/>") + kScan, Orientation::Normal},
        {"EXIF after the start of scan", kSoi + kScan + good, Orientation::Normal},
        {"cut inside the EXIF segment", kSoi + good.substr(0, good.size() - 10), Orientation::Normal},
        {"directory offset past the segment", kSoi + Exif(pastTheSegment) + kScan, Orientation::Normal},
        {"directory offset into the next segment", kSoi + intoTheNextSegment + kScan, Orientation::Normal},
        {"a directory cut short at the segment's end, two bytes before the next",
         kSoi + Exif(Bytes("II", 2) + Le16(42) + Le32(8) + Le16(1) + Le16(274) + Le16(3) + Le32(1) + Le16(6)) +
             Segment(0xE2, "ICC") + kScan,
         Orientation::Normal},
        {"the tag after the 512 entries a directory is read for", kSoi + Exif(Tiff(true, manyEntries)) + kScan,
         Orientation::Normal},
        {"an APP1 segment too short for a TIFF header", kSoi + "\xFF\xE1" + Be16(7) + Bytes("Exif\0\0", 6) + Orientation6Le() + kScan,
         Orientation::Normal},
        {"directory offset pointing at the header", kSoi + Exif(Tiff(true, {{274, 3, 1, 6}}, 0)) + kScan, Orientation::Normal},
        {"a directory without entries", kSoi + Exif(Tiff(true, {})) + kScan, Orientation::Normal},
        {"more entries claimed than present", kSoi + Exif(Tiff(true, {{274, 3, 1, 6}}, 8, 65535)) + kScan, Orientation::Normal},
        {"a value out of range", kSoi + Exif(Tiff(true, {{274, 3, 1, 9}})) + kScan, Orientation::Normal},
        {"value zero", kSoi + Exif(Tiff(true, {{274, 3, 1, 0}})) + kScan, Orientation::Normal},
        {"the tag as a LONG", kSoi + Exif(Tiff(true, {{274, 4, 1, 6}})) + kScan, Orientation::Normal},
        {"two values instead of one", kSoi + Exif(Tiff(true, {{274, 3, 2, 6}})) + kScan, Orientation::Normal},
        {"bad byte order mark", kSoi + Exif("IM" + Orientation6Le().substr(2)) + kScan, Orientation::Normal},
        {"bad TIFF magic", kSoi + Exif("II" + Le16(43) + Orientation6Le().substr(4)) + kScan, Orientation::Normal},
        {"segment length below two", kSoi + "\xFF\xE1" + Be16(1) + Bytes(40, 'x'), Orientation::Normal},
        {"no marker where one belongs", kSoi + "garbage" + good, Orientation::Normal},
        {"TIFF file whose directory lies past its end", Tiff(true, {}, 8).substr(0, 4) + Le32(0x7FFFFFFF),
         Orientation::Normal},
        {"an endless run of empty segments", kSoi + [] {
             Bytes many;
             for (int i = 0; i < 200; ++i) many += Segment(0xE2, "");
             return many;
         }() + good + kScan,
         Orientation::Normal},
    };
    for (const Case& c : cases) {
        MemoryBytes bytes(reinterpret_cast<const std::uint8_t*>(c.file.data()), c.file.size());
        EXPECT_EQ(ReadExif(bytes).orientation, c.expected) << c.what;
    }
}

// A camera's EXIF: its colour space in the EXIF directory, which also points to the
// interoperability directory with its index, little-endian, one directory after another.
Bytes CameraExif(unsigned colourSpace, const Bytes& index) {
    const Bytes first = Le16(1) + Le16(0x8769) + Le16(4) + Le32(1) + Le32(26) + Le32(0);
    const Bytes exif = Le16(2) + Le16(0xA001) + Le16(3) + Le32(1) + Le16(colourSpace) + Le16(0) + Le16(0xA005) + Le16(4) +
                       Le32(1) + Le32(56) + Le32(0);
    const Bytes interoperability = Le16(1) + Le16(1) + Le16(2) + Le32(static_cast<std::uint32_t>(index.size())) + index + Le32(0);
    return Exif(Bytes("II*\0", 4) + Le32(8) + first + exif + interoperability);
}

TEST(ExifColourSpace, OnlyAnUncalibratedPictureWithIndexR03IsAdobeRgb) {
    const struct {
        const char* what;
        Bytes file;
        bool adobeRgb;
    } cases[] = {
        {"uncalibrated, R03", kSoi + CameraExif(0xFFFF, Bytes("R03\0", 4)) + kScan, true},
        {"sRGB, R03", kSoi + CameraExif(1, Bytes("R03\0", 4)) + kScan, false},
        {"uncalibrated, R98", kSoi + CameraExif(0xFFFF, Bytes("R98\0", 4)) + kScan, false},
        {"no EXIF", kSoi + kJfif + kScan, false},
    };
    for (const auto& c : cases) {
        MemoryBytes bytes(reinterpret_cast<const std::uint8_t*>(c.file.data()), c.file.size());
        EXPECT_EQ(ReadExif(bytes).cameraAdobeRgb, c.adobeRgb) << c.what;
    }
}

}  // namespace
}  // namespace tessaro
