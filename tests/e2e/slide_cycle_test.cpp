// The slide cycle, run with the quick-cycle copy of the saver (same program, shorter interval).

#include <wincodec.h>

#include <filesystem>
#include <random>

#include "saver_test_support.h"
#include "support/bytes.h"

namespace tessaro::e2e {
namespace {

constexpr wchar_t kQuickCycle[] = L"TessaroQuickCycle.scr";
constexpr auto kInterval = Milliseconds(TESSARO_QUICK_CYCLE_INTERVAL_MS);

constexpr std::uint32_t kRed = 0xC0392B;
constexpr std::uint32_t kGreen = 0x27AE60;
constexpr std::uint32_t kBlue = 0x2E4BC1;

// The colours the centre of the screen takes, in order, each run of equal colours once, until
// the sequence has `count` entries or the time is up. Colours within `tolerance` of one of
// `palette` are reported as that palette entry (lossy formats).
std::vector<std::uint32_t> WatchCentre(std::size_t count, Milliseconds timeout, const std::vector<std::uint32_t>& palette,
                                       int tolerance = 0) {
    std::vector<std::uint32_t> seen;
    WaitUntil(
        [&] {
            std::uint32_t colour = Screenshot::Take().At(ScreenWidth() / 2, ScreenHeight() / 2);
            for (std::uint32_t known : palette) {
                if (Near(colour, known, tolerance)) colour = known;
            }
            if (seen.empty() || seen.back() != colour) seen.push_back(colour);
            return seen.size() >= count;
        },
        timeout, 5ms);
    return seen;
}

void AddFullScreenSlide(const SaverFolder& folder, int number, std::uint32_t rgb) {
    folder.AddSolidSlide(number, ScreenWidth(), ScreenHeight(), rgb);
}

TEST(SlideCycle, ShowsTheSlidesInTurnSkipsMissingOnesAndStartsAgainAfter46) {
    const SaverFolder folder(kQuickCycle);
    AddFullScreenSlide(folder, 1, kRed);
    AddFullScreenSlide(folder, 3, kGreen);
    AddFullScreenSlide(folder, 46, kBlue);
    std::unique_ptr<Process> process;
    ASSERT_NE(StartSaver(folder, process, kRed), nullptr);
    // 1, then 2 missing (black), 3, then 4..45 missing, 46, and 1 again.
    const std::vector<std::uint32_t> expected{kRed, kBlack, kGreen, kBlack, kBlue, kRed};
    EXPECT_EQ(WatchCentre(expected.size(), kInterval * 50, expected), expected);
    EndWithKey(*process);
}

TEST(SlideCycle, RecognisesEachPictureFormatFromItsContent) {
    struct Format {
        const GUID& container;
        std::uint32_t colour;
        const char* name;
    };
    const Format formats[] = {
        {GUID_ContainerFormatPng, 0xD35400, "PNG"},  {GUID_ContainerFormatJpeg, 0x1F618D, "JPEG"},
        {GUID_ContainerFormatGif, 0xFFFFFF, "GIF"},   {GUID_ContainerFormatTiff, 0x7D3C98, "TIFF"},
        {GUID_ContainerFormatBmp, 0x117A65, "BMP"},
    };
    const SaverFolder folder(kQuickCycle);
    std::vector<std::uint32_t> expected;
    std::vector<std::uint32_t> palette{kBlack};
    int number = 1;
    for (const Format& format : formats) {
        const std::string picture = SolidPicture(320, 240, format.colour, format.container);
        ASSERT_FALSE(picture.empty()) << "could not encode " << format.name;
        WriteFileBytes(folder.Slide(number++), picture);
        expected.push_back(format.colour);
        palette.push_back(format.colour);
    }
    expected.push_back(kBlack);  // slide 6 is missing
    std::unique_ptr<Process> process;
    ASSERT_NE(StartSaver(folder, process, formats[0].colour), nullptr);
    EXPECT_EQ(WatchCentre(expected.size(), kInterval * 20, palette, 6), expected);
    EndWithKey(*process);
}

std::string Garbage(std::size_t size) {
    std::mt19937 random(7);
    std::string bytes(size, '\0');
    for (char& b : bytes) b = static_cast<char>(random());
    return bytes;
}

std::string ZeroHeightBmp() {
    std::string bmp = SolidBmp(64, 1, kRed);
    bmp.replace(22, 4, std::string(4, '\0'));  // biHeight = 0
    return bmp;
}

// A PNG whose header announces 20000 x 20000 pixels (1.6 GB decoded).
std::string HugePngHeader() {
    const std::string png = SolidPicture(16, 16, kRed, GUID_ContainerFormatPng);
    std::string huge = png;
    huge.replace(16, 8, Be32(20000) + Be32(20000));
    huge.replace(29, 4, Be32(Crc32(huge.substr(12, 17))));  // IHDR's CRC over type and data
    return huge;
}

TEST(SlideCycle, UnreadableSlidesLeaveTheScreenBlackUntilTheNextGoodOne) {
    const SaverFolder folder(kQuickCycle);
    // 1 is missing.
    WriteFileBytes(folder.Slide(2), "");
    WriteFileBytes(folder.Slide(3), Garbage(5000));
    const std::string jpeg = SolidPicture(640, 480, kRed, GUID_ContainerFormatJpeg);
    WriteFileBytes(folder.Slide(4), jpeg.substr(0, jpeg.size() / 2));
    std::filesystem::create_directory(std::filesystem::path(folder.Slide(5)));
    WriteFileBytes(folder.Slide(6), ZeroHeightBmp());
    WriteFileBytes(folder.Slide(7), HugePngHeader());
    WriteFileBytes(folder.Slide(8), SolidBmp(2, 2, kRed).substr(0, 40));  // cut inside the header
    AddFullScreenSlide(folder, 9, kGreen);

    std::unique_ptr<Process> process;
    ASSERT_NE(StartSaver(folder, process), nullptr);
    const std::vector<std::uint32_t> expected{kBlack, kGreen, kBlack};
    EXPECT_EQ(WatchCentre(expected.size(), kInterval * 20, {kBlack, kGreen}), expected)
        << "nothing but black before slide 9, and black again after it";
    EXPECT_TRUE(process->Running());
    EndWithKey(*process);
}

TEST(SlideCycle, SlidesAreFoundInUnicodeAndLongFolders) {
    // The longest program path Windows starts a program from is 259 characters: "\\Tessaro.scr"
    // and "\\ZUMIK01.DAT" are both 12 characters long.
    const std::wstring folders[] = {
        L"テスト スライド ﾃｽﾄ",
        TempFolder::HintForPathLength(L"長い folder ", 259 - 12),
    };
    for (const std::wstring& hint : folders) {
        SCOPED_TRACE(testing::Message() << "folder name of " << hint.size() << " characters");
        const SaverFolder folder(kQuickCycle, hint);
        ASSERT_GE(folder.Folder().size(), hint.size());
        ASSERT_LE(folder.Program().size(), 259u);
        AddFullScreenSlide(folder, 1, kRed);
        AddFullScreenSlide(folder, 2, kGreen);
        std::unique_ptr<Process> process;
        ASSERT_NE(StartSaver(folder, process, kRed), nullptr);
        const std::vector<std::uint32_t> expected{kRed, kGreen, kBlack};
        EXPECT_EQ(WatchCentre(expected.size(), kInterval * 10, expected), expected);
        EndWithKey(*process);
    }
}

}  // namespace
}  // namespace tessaro::e2e
