// Hostile and odd slides, many to a run of the quick-cycle saver: each sits between two good
// slides of colours of their own and is watched tick by tick, while the saver's trace tells a
// slide it could not read from one that came out black by accident.

#include "saver_test_support.h"
#include "support/jpeg_bytes.h"
#include "support/png_bytes.h"
#include "support/quick_cycle.h"
#include "support/utf8.h"

#include <psapi.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <random>

namespace tessaro::e2e {
namespace {

// JPEG's losses on a flat colour.
constexpr int kTolerance = 12;
// The saver's peak working set on a 1024 x 768 screen, whatever its slides.
constexpr SIZE_T kMemoryBound = SIZE_T{120} << 20;
// Time enough for the saver to render ahead a small slide once the one before it is shown.
constexpr auto kPrefetchTime = 150ms;

// Pictures are 64 x 48, smaller than the screen: each is shown at its natural size in the middle.
constexpr int kWidth = 64, kHeight = 48;
constexpr std::uint32_t kRed = 0xC0392B, kBlue = 0x1F618D, kYellow = 0xF1C40F, kPurple = 0x7D3C98;
// Colours GIF's fixed palette holds exactly.
constexpr std::uint32_t kGifFirst = 0x3366CC, kGifSecond = 0xCC3300;

// The colours at five places of the middle of the screen, where the pictures go: the centre, and
// four pixels in from each edge of a picture (inside the transparent quarter and the top rows of
// the pictures that have them, and outside a picture turned a quarter).
struct Look {
    std::uint32_t centre, left, right, top, bottom;
    friend bool operator==(const Look&, const Look&) = default;
};

Look Solid(std::uint32_t rgb) { return {rgb, rgb, rgb, rgb, rgb}; }
const Look kBlackScreen = Solid(kBlack);

Look LookOfTheMiddle() {
    const int left = ScreenWidth() / 2 - kWidth / 2, top = ScreenHeight() / 2 - kHeight / 2;
    const Screenshot shot = Screenshot::Take(RECT{left, top, left + kWidth, top + kHeight});
    constexpr int kIn = 4;
    return {shot.At(kWidth / 2, kHeight / 2), shot.At(kIn, kHeight / 2), shot.At(kWidth - kIn, kHeight / 2),
            shot.At(kWidth / 2, kIn), shot.At(kWidth / 2, kHeight - kIn)};
}

std::string Describe(const Look& look) {
    char text[96];
    if (look == Solid(look.centre)) {
        std::snprintf(text, sizeof text, "%06X", look.centre);
    } else {
        std::snprintf(text, sizeof text, "centre %06X left %06X right %06X top %06X bottom %06X", look.centre, look.left,
                      look.right, look.top, look.bottom);
    }
    return text;
}

// --- Bytes ---

void PatchLe16(std::string& bytes, std::size_t at, std::uint32_t v) { bytes.replace(at, 2, Le16(v)); }

std::string Cut(const std::string& bytes, std::size_t size) { return bytes.substr(0, std::min(size, bytes.size())); }
std::string Half(const std::string& bytes) { return bytes.substr(0, bytes.size() / 2); }

std::string Rgb(std::uint32_t rgb) {
    return {static_cast<char>(rgb >> 16), static_cast<char>(rgb >> 8 & 0xFF), static_cast<char>(rgb & 0xFF)};
}

std::string SolidPng(std::uint32_t rgb) {
    return Png(kWidth, kHeight, 8, 2, PngRows(kWidth, kHeight, [&](int, int) { return Rgb(rgb); }));
}

// The left quarter transparent, of a colour that shows if transparency is ignored.
bool Transparent(int x) { return x < kWidth / 4; }

std::string PalettePngWithTransparency(std::uint32_t rgb) {
    const std::string palette = PngChunk("PLTE", Rgb(kYellow) + Rgb(rgb)) + PngChunk("tRNS", std::string("\x00\xFF", 2));
    return Png(kWidth, kHeight, 8, 3,
               PngRows(kWidth, kHeight, [](int x, int) { return std::string(1, Transparent(x) ? '\0' : '\1'); }), palette);
}

std::string SixteenBitPngWithAlpha(std::uint32_t rgb) {
    const auto channel = [](std::uint32_t v) { return std::string(2, static_cast<char>(v)); };  // v * 257
    return Png(kWidth, kHeight, 16, 6, PngRows(kWidth, kHeight, [&](int x, int) {
                   if (Transparent(x)) return std::string("\xFF\xFF\xFF\xFF\0\0\0\0", 8);
                   return channel(rgb >> 16) + channel(rgb >> 8 & 0xFF) + channel(rgb & 0xFF) + std::string("\xFF\xFF", 2);
               }));
}

Look TransparentLeft(std::uint32_t rgb) {
    Look look = Solid(rgb);
    look.left = kBlack;  // transparent parts show the black behind every slide
    return look;
}

// 65535 x 65535 pixels declared, three bytes of them present.
std::string PngBomb() { return Png(65535, 65535, 8, 2, std::string(3, '\0')); }

// An encoded PNG whose header, checksum and all, announces 20000 x 20000 pixels (1.6 GB decoded).
std::string HugePngHeader() {
    std::string png = SolidPicture(16, 16, kRed, GUID_ContainerFormatPng);
    png.replace(16, 8, Be32(20000) + Be32(20000));
    png.replace(29, 4, Be32(Crc32(png.substr(12, 17))));  // IHDR's CRC over type and data
    return png;
}

// --- BMP ---

// Top-down rows: the first quarter of the file's rows is the top of the picture.
std::string TopDownBmp(std::uint32_t top, std::uint32_t rest) {
    std::string bmp = SolidBmp(kWidth, kHeight, rest);
    bmp.replace(22, 4, Le32(static_cast<std::uint32_t>(-kHeight)));
    const std::string topRows = SolidBmp(kWidth, kHeight / 4, top).substr(54);
    bmp.replace(54, topRows.size(), topRows);
    return bmp;
}

std::string ZeroHeightBmp() {
    std::string bmp = SolidBmp(kWidth, 1, kRed);
    bmp.replace(22, 4, Le32(0));
    return bmp;
}

// --- JPEG ---

std::string SolidJpeg(std::uint32_t rgb) { return SolidPicture(kWidth, kHeight, rgb, GUID_ContainerFormatJpeg); }

// A JPEG of a few hundred bytes whose frame header declares side x side pixels. Wine's decoder
// gives up at once on 65535 x 65535, but takes 12000 x 12000 at its word: it fills in the
// missing picture, 432 MB of it.
std::string JpegBomb(std::uint16_t side) {
    std::string jpeg = SolidJpeg(kRed);
    const std::size_t frame = FindJpegSegment(jpeg, 0xC0);
    const std::string size{static_cast<char>(side >> 8), static_cast<char>(side & 0xFF)};
    if (frame != std::string::npos) jpeg.replace(frame + 5, 4, size + size);
    return jpeg;
}

// Up to the first scan's data.
std::string JpegHeadersOnly() {
    const std::string jpeg = SolidJpeg(kBlue);
    const std::size_t scan = FindJpegSegment(jpeg, 0xDA);
    return scan == std::string::npos ? jpeg : jpeg.substr(0, scan + 14);
}

std::string CmykJpeg() {
    std::string pixels;
    for (int i = 0; i < kWidth * kHeight; ++i) pixels += std::string("\x10\xC0\xC0\x20", 4);
    return EncodeMemory(kWidth, kHeight, GUID_WICPixelFormat32bppCMYK, {pixels}, GUID_ContainerFormatJpeg);
}

// The same CMYK picture labelled YCCK in its Adobe segment (transform 2), added if missing.
std::string YcckJpeg() {
    std::string jpeg = CmykJpeg();
    const std::size_t adobe = FindJpegSegment(jpeg, 0xEE);
    if (adobe != std::string::npos) {
        jpeg[adobe + 15] = '\2';
    } else if (!jpeg.empty()) {
        jpeg.insert(2, std::string("\xFF\xEE\x00\x0E" "Adobe\x00\x64\x00\x00\x00\x00\x02", 16));
    }
    return jpeg;
}

// A progressive greyscale JPEG of grey 200, made by hand: its one scan carries the DC values
// only (all a picture of one colour has), Huffman coded with two codes: "00" for the first
// block's difference (category 7, 72), "01" for every later block's (0).
constexpr std::uint32_t kProgressiveGrey = 0xC8C8C8;
std::string ProgressiveJpeg() {
    std::string jpeg = "\xFF\xD8";
    jpeg += std::string("\xFF\xDB\x00\x43\x00", 5) + std::string(64, '\x08');  // every step 8
    jpeg += std::string("\xFF\xC2\x00\x0B\x08", 5) + Be32(kHeight).substr(2) + Be32(kWidth).substr(2) +
            std::string("\x01\x01\x11\x00", 4);
    jpeg += std::string("\xFF\xC4\x00\x15\x00", 5) + std::string("\x00\x02", 2) + std::string(14, '\0') +
            std::string("\x07\x00", 2);
    jpeg += std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x00\x00", 10);
    std::string bits = "00" "1001000";  // 72 = 200 - 128 in steps of 8, times 8 / 8
    for (int block = 1; block < (kWidth / 8) * (kHeight / 8); ++block) bits += "01";
    while (bits.size() % 8 != 0) bits += '1';
    for (std::size_t at = 0; at < bits.size(); at += 8) {
        const auto byte = static_cast<char>(std::stoi(bits.substr(at, 8), nullptr, 2));
        jpeg += byte;
        if (byte == '\xFF') jpeg += '\0';
    }
    return jpeg + "\xFF\xD9";
}

// TIFF structures for EXIF segments that lie.
std::string IfdEntry(std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t value) {
    return Le16(tag) + Le16(type) + Le32(count) + Le32(value);
}
constexpr std::uint16_t kShort = 3, kLong = 4, kOrientation = 274, kExifIfd = 0x8769;
constexpr std::uint32_t kQuarterTurn = 6;  // honoured, it would turn the picture upright and narrow

const std::string kExifPastTheEnd = std::string("II*\0", 4) + Le32(0x7FFFFFF0);
const std::string kExifLoop = std::string("II*\0", 4) + Le32(8) + Le16(2) + IfdEntry(kOrientation, kShort, 1, 1) +
                              IfdEntry(kExifIfd, kLong, 1, 8) + Le32(8);
const std::string kExifAbsurdEntryCount =
    std::string("II*\0", 4) + Le32(8) + Le16(0xFFFF) + IfdEntry(kOrientation, kShort, 1, kQuarterTurn) + Le32(0);
const std::string kExifAbsurdValueCount =
    std::string("II*\0", 4) + Le32(8) + Le16(1) + IfdEntry(kOrientation, kShort, 0xFFFFFFFF, kQuarterTurn) + Le32(0);

// --- GIF and TIFF, encoded, then patched ---

// The logical screen and the first image declare 65535 x 65535 pixels.
std::string GifBomb() {
    std::string gif = SolidPicture(kWidth, kHeight, kGifFirst, GUID_ContainerFormatGif);
    if (gif.size() < 13) return gif;
    PatchLe16(gif, 6, 0xFFFF);
    PatchLe16(gif, 8, 0xFFFF);
    const auto flags = static_cast<std::uint8_t>(gif[10]);
    std::size_t at = 13 + (flags & 0x80 ? 3u << ((flags & 7) + 1) : 0);
    while (at < gif.size() && gif[at] == '\x21') {  // extensions: label, then sub-blocks
        at += 2;
        while (at < gif.size() && gif[at] != '\0') at += static_cast<std::uint8_t>(gif[at]) + 1u;
        ++at;
    }
    if (at + 9 <= gif.size() && gif[at] == '\x2C') {
        PatchLe16(gif, at + 5, 0xFFFF);
        PatchLe16(gif, at + 7, 0xFFFF);
    }
    return gif;
}

std::string SolidTiff(std::uint32_t rgb) { return SolidPicture(kWidth, kHeight, rgb, GUID_ContainerFormatTiff); }

// The first directory's width and length say 65535.
std::string TiffBomb() {
    std::string tiff = SolidTiff(kPurple);
    if (tiff.size() < 8 || tiff[0] != 'I') return tiff;
    const auto le = [&](std::size_t at, int bytes) {
        std::uint32_t v = 0;
        for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<std::uint8_t>(tiff[at + i]);
        return v;
    };
    const std::uint32_t ifd = le(4, 4);
    for (std::uint32_t i = 0; i < le(ifd, 2); ++i) {
        const std::size_t entry = ifd + 2 + i * 12;
        const std::uint32_t tag = le(entry, 2);
        if (tag == 256 || tag == 257) tiff.replace(entry + 8, 4, le(entry + 2, 2) == kShort ? Le16(0xFFFF) + Le16(0) : Le32(0xFFFF));
    }
    return tiff;
}

std::string TwoFrames(const GUID& container, std::uint32_t first, std::uint32_t second) {
    const auto frame = [](std::uint32_t rgb) {
        std::string pixels;
        for (int i = 0; i < kWidth * kHeight; ++i) pixels += Le32(rgb);
        return pixels;
    };
    return EncodeMemory(kWidth, kHeight, GUID_WICPixelFormat32bppBGR, {frame(first), frame(second)}, container);
}

// What the imaging component in this process makes of the picture, as the saver would show it
// (opaque, transparent parts black): for pictures whose colours are the decoder's business.
Look DecodedLook(const std::string& bytes) {
    const Picture picture = DecodePicture(bytes);
    EXPECT_EQ(picture.width, kWidth) << "this process cannot decode the picture either";
    if (picture.width != kWidth || picture.height != kHeight) return Solid(kBlack);
    return Solid(picture.pixels[static_cast<std::size_t>(kHeight / 2) * kWidth + kWidth / 2]);
}

// --- The corpus ---

enum class Setup {
    File,
    Missing,                 // no file of the slide's name
    Folder,                  // a folder of the slide's name
    LockedFile,              // held open by this process, shared with no one
    ReplacedBeforeItsTick,   // replaced by `replacement` once the slide before it is shown
};

struct Case {
    const char* name;
    std::string bytes;
    Look shown;
    bool traced;  // the trace must name the slide, with a code
    Setup setup = Setup::File;
    std::string replacement = {};
};

std::vector<Case> UnreadableSlides() {
    const std::string jpeg = SolidJpeg(kBlue);
    const std::string png = SolidPng(kRed);
    const std::string gif = SolidPicture(kWidth, kHeight, kGifFirst, GUID_ContainerFormatGif);
    const std::string tiff = SolidTiff(kPurple);
    return {
        {"no such file", "", kBlackScreen, true, Setup::Missing},
        {"empty file", "", kBlackScreen, true},
        {"JPEG cut after its start marker", Cut(jpeg, 2), kBlackScreen, true},
        {"JPEG cut after its headers", JpegHeadersOnly(), kBlackScreen, true},
        {"JPEG cut in half", Half(jpeg), kBlackScreen, true},
        {"PNG cut after its signature", Cut(png, 8), kBlackScreen, true},
        {"PNG cut after its header chunk", Cut(png, 33), kBlackScreen, true},
        {"PNG cut in half", Half(png), kBlackScreen, true},
        {"GIF cut after its signature", Cut(gif, 6), kBlackScreen, true},
        {"GIF cut after its screen descriptor", Cut(gif, 13), kBlackScreen, true},
        {"GIF cut in half", Half(gif), kBlackScreen, true},
        {"TIFF cut after its byte order", Cut(tiff, 4), kBlackScreen, true},
        {"TIFF cut after its header", Cut(tiff, 8), kBlackScreen, true},
        {"TIFF cut in half", Half(tiff), kBlackScreen, true},
        {"random bytes", RandomBytes(5000, 8), kBlackScreen, true},
        {"a folder named like a slide", "", kBlackScreen, true, Setup::Folder},
        {"BMP of height 0", ZeroHeightBmp(), kBlackScreen, true},
        {"PNG declaring 65535 x 65535", PngBomb(), kBlackScreen, true},
        {"PNG declaring 20000 x 20000, its checksums right", HugePngHeader(), kBlackScreen, true},
        {"BMP cut inside its header", SolidBmp(2, 2, kRed).substr(0, 40), kBlackScreen, true},
        {"GIF declaring 65535 x 65535", GifBomb(), kBlackScreen, true},
        {"TIFF declaring 65535 x 65535", TiffBomb(), kBlackScreen, true},
        {"JPEG declaring 65535 x 65535", JpegBomb(65535), kBlackScreen, true},
        {"JPEG declaring 12000 x 12000", JpegBomb(12000), kBlackScreen, true},
        {"slide locked by another process", SolidBmp(kWidth, kHeight, kRed), kBlackScreen, true, Setup::LockedFile},
    };
}

std::vector<Case> OddSlides() {
    Look onePixel = kBlackScreen;
    onePixel.centre = kYellow;  // 1 x 1, natural size, at the centre
    const std::string cmyk = CmykJpeg();
    const std::string ycck = YcckJpeg();
    const std::string jpeg = SolidJpeg(kBlue);
    Look topDown = Solid(kRed);
    topDown.top = kYellow;
    return {
        {"1 x 1 picture", SolidBmp(1, 1, kYellow), onePixel, false},
        {"CMYK JPEG", cmyk, DecodedLook(cmyk), false},
        {"YCCK JPEG", ycck, DecodedLook(ycck), false},
        {"progressive JPEG", ProgressiveJpeg(), Solid(kProgressiveGrey), false},
        {"16-bit PNG with alpha", SixteenBitPngWithAlpha(kPurple), TransparentLeft(kPurple), false},
        {"palette PNG with a transparent colour", PalettePngWithTransparency(kBlue), TransparentLeft(kBlue), false},
        {"animated GIF: its first frame", TwoFrames(GUID_ContainerFormatGif, kGifFirst, kGifSecond), Solid(kGifFirst), false},
        {"two-page TIFF: its first page", TwoFrames(GUID_ContainerFormatTiff, kPurple, kYellow), Solid(kPurple), false},
        {"BMP stored top-down (negative height)", TopDownBmp(kYellow, kRed), topDown, false},
        {"EXIF directory past the end", WithExif(jpeg, kExifPastTheEnd), Solid(kBlue), false},
        {"EXIF directories in a loop", WithExif(jpeg, kExifLoop), Solid(kBlue), false},
        {"EXIF directory of 65535 entries", WithExif(jpeg, kExifAbsurdEntryCount), Solid(kBlue), false},
        {"EXIF orientation of 2^32-1 values", WithExif(jpeg, kExifAbsurdValueCount), Solid(kBlue), false},
        {"slide replaced after it was rendered ahead", SolidBmp(kWidth, kHeight, kRed), Solid(kYellow), false,
         Setup::ReplacedBeforeItsTick, SolidBmp(kWidth, kHeight, kYellow)},
    };
}

// --- Colour profiles ---

std::string SystemProfile(const wchar_t* unixPath) { return ReadFileBytes(std::wstring(L"Z:") + unixPath); }

std::vector<Case> SlidesWithProfilesThatCannotBeUsed() {
    const std::string jpeg = SolidJpeg(kBlue);
    const std::string adobe = SystemProfile(L"/usr/share/color/icc/colord/AdobeRGB1998.icc");
    std::string tagOutside = adobe;
    tagOutside.replace(128 + 4 + 4, 4, Be32(0x10000000));  // the first tag's offset
    std::string deviceLink = adobe;
    deviceLink.replace(12, 4, "link");
    // No colorant the matrix needs, and a table the engine cannot read.
    std::string unreadableTable = adobe;
    const std::size_t colorant = unreadableTable.find("rXYZ");
    if (colorant != std::string::npos) unreadableTable.replace(colorant, 4, "A2B0");
    const std::string cmyk = SystemProfile(L"/usr/share/color/icc/ghostscript/default_cmyk.icc");
    return {
        {"colour profile cut short", WithIccProfile(jpeg, Cut(adobe, 300), 1), Solid(kBlue), true},
        {"colour profile with a tag outside it", WithIccProfile(jpeg, tagOutside, 1), Solid(kBlue), true},
        {"colour profile in pieces that do not add up", WithIccProfile(jpeg, adobe, 2, 3), Solid(kBlue), true},
        {"device link as a colour profile", WithIccProfile(jpeg, deviceLink, 1), Solid(kBlue), true},
        {"CMYK profile on an RGB picture", WithIccProfile(jpeg, cmyk, 3), Solid(kBlue), true},
        {"colour profile the colour engine refuses", WithIccProfile(jpeg, unreadableTable, 1), Solid(kBlue), true},
    };
}

// Good slides between the cases: grey-greens of their own, nothing like any case's colour.
std::uint32_t Marker(int number) {
    const std::uint32_t level = 0x20 + 9 * static_cast<std::uint32_t>(number);  // up to 0xEF for marker 23
    return level << 16 | 0xF0 << 8 | level;
}

std::uint32_t Snap(std::uint32_t colour, const std::vector<std::uint32_t>& palette) {
    std::uint32_t best = colour;
    int bestDistance = kTolerance + 1;
    for (std::uint32_t known : palette) {
        int distance = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            distance = std::max(distance, std::abs(static_cast<int>(colour >> shift & 0xFF) - static_cast<int>(known >> shift & 0xFF)));
        }
        if (distance < bestDistance) {
            best = known;
            bestDistance = distance;
        }
    }
    return best;
}

// One screen of the run as it was watched.
struct Seen {
    Look look;
    SIZE_T workingSet = 0;  // the most seen while it was on the screen
};

SIZE_T WorkingSet(const Process& process, bool peak = false) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!::GetProcessMemoryInfo(process.Handle(), &counters, sizeof(counters))) return 0;
    return peak ? counters.PeakWorkingSetSize : counters.WorkingSetSize;
}

// The trace line naming the slide, if any.
std::wstring TraceLineFor(const std::vector<std::wstring>& trace, int slide) {
    const std::wstring name = L"\\" + SlideName(slide) + L": 0x";
    for (const std::wstring& line : trace) {
        if (line.find(name) != std::wstring::npos) return line;
    }
    return {};
}

// A failure line: "Tessaro: <what> failed for <path>: 0x<8 hex digits>".
bool NamesACode(const std::wstring& line) {
    const std::size_t code = line.rfind(L": 0x");
    return line.rfind(L"Tessaro: ", 0) == 0 && line.find(L" failed for ") != std::wstring::npos &&
           code != std::wstring::npos && line.size() == code + 4 + 8 &&
           line.find_first_not_of(L"0123456789ABCDEF", code + 4) == std::wstring::npos;
}

// Slides 1, 3, 5, ... are good markers; slide 2k is case k; one marker more after the last case.
// The saver is watched from the first marker to the last: marker, case, marker, case, ...
void RunSlides(const std::vector<Case>& cases) {
    ASSERT_LE(cases.size() * 2 + 1, 46u);
    const SaverFolder folder(kQuickCycleProgram);
    std::vector<UniqueHandle> locks;
    std::vector<Look> expected;
    std::vector<std::uint32_t> palette{kBlack};
    for (std::size_t k = 0; k <= cases.size(); ++k) {
        const int marker = static_cast<int>(k) + 1;
        folder.AddSolidSlide(2 * marker - 1, kWidth, kHeight, Marker(marker));
        expected.push_back(Solid(Marker(marker)));
        palette.push_back(Marker(marker));
        if (k == cases.size()) break;
        const Case& c = cases[k];
        const std::wstring path = folder.Slide(2 * marker);
        if (c.setup == Setup::Folder) {
            std::filesystem::create_directory(std::filesystem::path(path));
        } else if (c.setup != Setup::Missing) {
            WriteFileBytes(path, c.bytes);
        }
        if (c.setup == Setup::LockedFile) {
            const HANDLE lock = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(lock, INVALID_HANDLE_VALUE);
            locks.emplace_back(lock);
        }
        expected.push_back(c.shown);
        for (std::uint32_t colour : {c.shown.centre, c.shown.left, c.shown.right, c.shown.top, c.shown.bottom}) {
            palette.push_back(colour);
        }
    }

    const std::unique_ptr<Process> process = folder.StartTraced(L"/s");
    ASSERT_NE(process->WaitForWindow(kSaverClass, kPatience), nullptr);
    std::vector<Seen> seen;
    bool alive = true;
    WaitUntil(
        [&] {
            Look look = LookOfTheMiddle();
            for (std::uint32_t* colour : {&look.centre, &look.left, &look.right, &look.top, &look.bottom}) {
                *colour = Snap(*colour, palette);
            }
            alive = process->Running();
            if (seen.empty() && look != expected.front()) return !alive;  // before the first slide
            if (seen.empty() || seen.back().look != look) {
                seen.push_back({look, 0});
                const std::size_t k = seen.size() / 2;  // the case after this marker
                if (seen.size() % 2 == 1 && k < cases.size() && cases[k].setup == Setup::ReplacedBeforeItsTick) {
                    std::this_thread::sleep_for(kPrefetchTime);
                    const std::wstring path = folder.Slide(2 * static_cast<int>(k) + 2);
                    WriteFileBytes(path + L".new", cases[k].replacement);
                    ::MoveFileExW((path + L".new").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
                }
            }
            seen.back().workingSet = std::max(seen.back().workingSet, WorkingSet(*process));
            return seen.size() >= expected.size() || !alive;
        },
        kQuickCycleInterval * static_cast<int>(expected.size()) + kPatience, 0ms);

    const SIZE_T peak = WorkingSet(*process, true);
    const std::vector<std::wstring> trace = process->Trace();
    EXPECT_TRUE(alive) << "the saver ended by itself, exit code " << process->ExitCode();
    EXPECT_LT(peak, kMemoryBound) << "peak working set " << (peak >> 20) << " MB";
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const bool isCase = i % 2 == 1;
        const int slide = static_cast<int>(i) + 1;
        const std::string what = isCase ? cases[i / 2].name : "good slide " + std::to_string(slide);
        const bool watched = i < seen.size();
        EXPECT_TRUE(watched && seen[i].look == expected[i])
            << what << " (slide " << slide << "): expected " << Describe(expected[i]) << ", saw "
            << (watched ? Describe(seen[i].look) : "nothing more");
        const std::wstring line = TraceLineFor(trace, slide);
        const bool traced = isCase && cases[i / 2].traced;
        EXPECT_EQ(!line.empty(), traced) << what << " (slide " << slide << "): trace line \"" << Utf8(line) << "\"";
        if (traced) {
            EXPECT_TRUE(NamesACode(line)) << what << ": " << Utf8(line);
        }
        if (isCase) {
            // The table for the notes: case | shown | alive | working set while it was fetched and shown | trace.
            const SIZE_T memory = std::max(i - 1 < seen.size() ? seen[i - 1].workingSet : 0, watched ? seen[i].workingSet : 0);
            std::cout << "| " << what << " | " << (watched ? Describe(seen[i].look) : "-") << " | "
                      << (watched && alive ? "yes" : "no") << " | " << (memory >> 20) << " MB | "
                      << Utf8(line) << " |\n";
        }
    }
    std::cout << "peak working set of the run: " << (peak >> 20) << " MB\n";
    EndWithKey(*process);
}

// As many runs of the saver as 46 slides take.
void RunCorpus(const std::vector<Case>& cases) {
    constexpr std::size_t kCasesARun = 22;
    for (std::size_t first = 0; first < cases.size(); first += kCasesARun) {
        RunSlides({cases.begin() + first, cases.begin() + std::min(cases.size(), first + kCasesARun)});
    }
}

TEST(HostileSlides, UnreadableSlidesShowBlackAreTracedAndHarmNothing) { RunCorpus(UnreadableSlides()); }

TEST(HostileSlides, OddButValidSlidesShowAsTheyShould) { RunCorpus(OddSlides()); }

TEST(HostileSlides, SlidesWhoseProfilesCannotBeUsedShowAsIfTheyHadNoneAndSayWhy) {
    RunCorpus(SlidesWithProfilesThatCannotBeUsed());
}

}  // namespace
}  // namespace tessaro::e2e
