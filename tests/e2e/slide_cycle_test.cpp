// The slide cycle, run with the quick-cycle copy of the saver (same program, shorter interval).

#include <wincodec.h>

#include "saver_test_support.h"
#include "support/quick_cycle.h"

namespace tessaro::e2e {
namespace {

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
    const SaverFolder folder(kQuickCycleProgram);
    AddFullScreenSlide(folder, 1, kRed);
    AddFullScreenSlide(folder, 3, kGreen);
    AddFullScreenSlide(folder, 46, kBlue);
    std::unique_ptr<Process> process;
    ASSERT_NE(StartSaver(folder, process, kRed), nullptr);
    // 1, then 2 missing (black), 3, then 4..45 missing, 46, and 1 again.
    const std::vector<std::uint32_t> expected{kRed, kBlack, kGreen, kBlack, kBlue, kRed};
    EXPECT_EQ(WatchCentre(expected.size(), kQuickCycleInterval * 50, expected), expected);
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
    const SaverFolder folder(kQuickCycleProgram);
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
    EXPECT_EQ(WatchCentre(expected.size(), kQuickCycleInterval * 20, palette, 6), expected);
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
        const SaverFolder folder(kQuickCycleProgram, hint);
        ASSERT_GE(folder.Folder().size(), hint.size());
        ASSERT_LE(folder.Program().size(), 259u);
        AddFullScreenSlide(folder, 1, kRed);
        AddFullScreenSlide(folder, 2, kGreen);
        std::unique_ptr<Process> process;
        ASSERT_NE(StartSaver(folder, process, kRed), nullptr);
        const std::vector<std::uint32_t> expected{kRed, kGreen, kBlack};
        EXPECT_EQ(WatchCentre(expected.size(), kQuickCycleInterval * 10, expected), expected);
        EndWithKey(*process);
    }
}

}  // namespace
}  // namespace tessaro::e2e
