// Nothing the saver holds grows as slides go by. TessaroLongRun.scr is the program with a slide
// every 40 ms that reports, every ten slides, the figures a leaked kernel handle, GDI object or
// USER object pushes up; the test reads its working set alongside. After a warm-up of two rounds
// of the slides, no figure may settle more than a little above where it settled in the warm-up.

#include <cstdio>

#include "saver_test_support.h"
#include "usage_log.h"

namespace tessaro::e2e {
namespace {

constexpr std::uint64_t kSlideChanges = 500;
constexpr std::uint64_t kWarmUp = 100;  // two rounds of the 46 slides
// A level here is the lowest a figure fell to over ten samples in a row (100 changes, four
// seconds or more). A kernel handle's value is the lowest free slot, which depends on what the
// worker threads alive at that moment hold: a worker given up on and the one that replaced it
// hold a score of handles between them until the first ends, and a loaded machine keeps them
// side by side longer, so a level may settle that much higher without a leak. GDI and USER
// objects are made on the window's thread alone and do not move, and the working set settles
// within a megabyte even on a loaded machine. The last level spans changes 410 to 500: a leak of
// one object a change puts it about 300 above the warm-up's, a leak of 32 KB a change 9.7 MB.
constexpr std::size_t kStretch = 10;
constexpr std::int64_t kHandleSlack = 24;
constexpr std::int64_t kObjectSlack = 8;
constexpr std::int64_t kWorkingSetSlackKb = 4 * 1024;
// 500 changes at 40 ms take 20 s; a busy machine may take several times that.
constexpr Milliseconds kRunBound = 150000ms;

// Every format, slides smaller and larger than the screen, one to be turned upright and one that
// cannot be read, over and over in the 46 slots; and in one slot a slide read as slowly as from a
// share gone slow (tests/builds/sampling_decoder.cpp), so that each round gives up one worker and
// starts another. The first replacement comes within the warm-up: what it sets up once is then
// part of the warm-up, and every replacement after it must give back what it took.
std::vector<std::string> VariedSlides() {
    return {
        SolidPicture(1024, 768, 0x2E86C1, GUID_ContainerFormatBmp),
        SolidPicture(1600, 1200, 0xC0392B, GUID_ContainerFormatJpeg),
        SolidPicture(640, 480, 0x27AE60, GUID_ContainerFormatPng),
        SolidPicture(2000, 500, 0xF1C40F, GUID_ContainerFormatGif),
        SolidPicture(600, 1400, 0x8E44AD, GUID_ContainerFormatTiff),
        WithExifOrientation(SolidPicture(800, 600, 0xE67E22, GUID_ContainerFormatJpeg), 6),
        "not a picture",
    };
}
constexpr int kSlowSlide = 23;

// Every sample, for a failure to show where the figures went.
std::string Table(const std::vector<UsageSample>& samples) {
    std::string table = "\n slides  event  gdi  user  working set KB\n";
    char row[96];
    for (const UsageSample& s : samples) {
        std::snprintf(row, sizeof(row), "%7llu  %5x  %3x  %4x  %llu\n", static_cast<unsigned long long>(s.slides),
                      s.eventHandle, s.gdiIndex, s.userIndex, static_cast<unsigned long long>(s.workingSetKb));
        table += row;
    }
    return table;
}

TEST(LongRun, NothingTheSaverHoldsGrowsAfterWarmUp) {
    const SaverFolder folder(L"TessaroLongRun.scr");
    const std::vector<std::string> slides = VariedSlides();
    for (int number = 1; number <= 46; ++number) {
        WriteFileBytes(folder.Slide(number), number == kSlowSlide ? "SLOW READ" : slides[number % slides.size()]);
    }

    const UsageLog log;
    const std::unique_ptr<Process> process = folder.StartTraced(L"/s", log.Sink());
    log.Watch(*process);
    ASSERT_TRUE(log.WaitForSlides(kSlideChanges, kRunBound)) << "the saver stopped changing slides";
    EndWithKey(*process);

    const std::vector<UsageSample> samples = log.Samples();
    for (const UsageSample& s : samples) {
        SCOPED_TRACE(testing::Message() << "after " << s.slides << " slides");
        ASSERT_TRUE(s.eventHandle != 0 && s.gdiIndex != 0 && s.userIndex != 0) << "an object could not be made";
        ASSERT_NE(s.workingSetKb, 0u) << "the working set could not be read";
    }
    const UsageGrowth growth = GrowthAfterWarmUp(samples, kWarmUp, kStretch);
    EXPECT_LE(growth.kernelHandles, kHandleSlack) << Table(samples);
    EXPECT_LE(growth.gdiObjects, kObjectSlack) << Table(samples);
    EXPECT_LE(growth.userObjects, kObjectSlack) << Table(samples);
    EXPECT_LE(growth.workingSetKb, kWorkingSetSlackKb) << Table(samples);
}

}  // namespace
}  // namespace tessaro::e2e
