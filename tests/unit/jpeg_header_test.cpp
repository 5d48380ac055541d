#include "slides/jpeg_header.h"

#include <gtest/gtest.h>

#include "support/jpeg_bytes.h"

namespace tessaro {
namespace {

// A frame header of the given kind (SOF0 baseline, SOF2 progressive, SOF9 arithmetic...) for a
// picture of one 8-bit component.
Bytes Frame(unsigned marker, unsigned width, unsigned height) {
    return Segment(marker, Bytes("\x08", 1) + Be16(height) + Be16(width) + Bytes("\x01\x01\x11\x00", 4));
}

TEST(JpegHeader, AFrameThatDeclaresMoreThanTheFileCanHoldIsSeen) {
    struct Case {
        const char* what;
        Bytes file;
        std::uint64_t fileBytes;  // the size of the whole file, of which `file` is the start
        bool claimsTooMuch;
    };
    const Case cases[] = {
        {"a small picture", kSoi + kJfif + Frame(0xC0, 16, 16) + kScan, 300, false},
        {"20000 x 20000 in 600 bytes", kSoi + Frame(0xC0, 20000, 20000) + kScan, 600, true},
        {"65535 x 65535 in a megabyte", kSoi + Frame(0xC0, 65535, 65535) + kScan, 1u << 20, true},
        {"512 x 512 in 512 bytes: one bit a block", kSoi + Frame(0xC0, 512, 512) + kScan, 512, false},
        {"512 x 512 in 511 bytes", kSoi + Frame(0xC0, 512, 512) + kScan, 511, true},
        {"a photo's 24 megapixels in 8 MB", kSoi + Frame(0xC0, 6000, 4000) + kScan, 8u << 20, false},
        {"progressive", kSoi + Frame(0xC2, 20000, 20000) + kScan, 600, true},
        {"arithmetic coding", kSoi + Frame(0xC9, 20000, 20000) + kScan, 600, true},
        {"the frame after other segments", kSoi + kJfif + Segment(0xDB, Bytes(65, '\x01')) + Frame(0xC0, 20000, 20000) + kScan,
         600, true},
        {"a Huffman table is no frame", kSoi + Segment(0xC4, Bytes("\x08\xFF\xFF\xFF\xFF", 5)) + kScan, 600, false},
        {"an arithmetic table is no frame", kSoi + Segment(0xCC, Bytes("\x08\xFF\xFF\xFF\xFF", 5)) + kScan, 600, false},
        {"a JPEG extension segment is no frame", kSoi + Segment(0xC8, Bytes("\x08\xFF\xFF\xFF\xFF", 5)) + kScan, 600, false},
        {"the height left to a later marker", kSoi + Frame(0xC0, 20000, 0) + kScan, 600, false},
        {"a frame header cut short", kSoi + Segment(0xC0, Bytes("\x08\xFF\xFF", 3)) + kScan, 600, false},
        {"the file ends inside the frame header", (kSoi + Frame(0xC0, 20000, 20000)).substr(0, 8), 600, false},
        {"no frame before the scan", kSoi + kJfif + kScan + Frame(0xC0, 20000, 20000), 600, false},
        {"not a JPEG", "\x89PNG\r\n\x1a\n" + Frame(0xC0, 20000, 20000), 600, false},
        {"0xFF but no start of image", "\xFF\xE0" + Frame(0xC0, 20000, 20000) + kScan, 600, false},
    };
    for (const Case& c : cases) {
        MemoryBytes bytes(reinterpret_cast<const std::uint8_t*>(c.file.data()), c.file.size());
        EXPECT_EQ(JpegClaimsMoreThanItHolds(bytes, c.fileBytes), c.claimsTooMuch) << c.what;
    }
}

Bytes IccPiece(int number, int count, const Bytes& piece) {
    return Segment(0xE2, Bytes("ICC_PROFILE\0", 12) + static_cast<char>(number) + static_cast<char>(count) + piece);
}

TEST(JpegHeader, AnIccProfileIsItsPiecesJoinedByNumberOrNotTakenAtAll) {
    struct Case {
        const char* what;
        Bytes file;
        bool present, complete;
        Bytes profile;
    };
    const Case cases[] = {
        {"in order", kSoi + IccPiece(1, 2, "ab") + IccPiece(2, 2, "cd") + kScan, true, true, "abcd"},
        {"out of order", kSoi + IccPiece(2, 2, "cd") + kJfif + IccPiece(1, 2, "ab") + kScan, true, true, "abcd"},
        {"a piece missing", kSoi + IccPiece(1, 3, "ab") + IccPiece(3, 3, "ef") + kScan, true, false, ""},
        {"a piece twice", kSoi + IccPiece(1, 2, "ab") + IccPiece(1, 2, "ab") + kScan, true, false, ""},
        {"pieces that disagree on their count", kSoi + IccPiece(1, 2, "ab") + IccPiece(2, 3, "cd") + kScan, true, false, ""},
        {"piece number 0", kSoi + IccPiece(0, 1, "ab") + kScan, true, false, ""},
        {"another APP2 segment", kSoi + Segment(0xE2, "MPF\0") + kScan, false, false, ""},
    };
    for (const Case& c : cases) {
        MemoryBytes bytes(reinterpret_cast<const std::uint8_t*>(c.file.data()), c.file.size());
        const JpegIccProfile profile = ReadJpegIccProfile(bytes);
        EXPECT_EQ(profile.present, c.present) << c.what;
        EXPECT_EQ(profile.complete, c.complete) << c.what;
        EXPECT_EQ(Bytes(profile.bytes.begin(), profile.bytes.end()), c.profile) << c.what;
    }
}

}  // namespace
}  // namespace tessaro
