// A long run of the saver: TessaroLongRun.scr (the program with a slide every 40 ms, reporting
// every ten slides what the process holds) over a folder of slides, by default the demo slides,
// for 10,000 slide changes. Prints the figures at intervals, with the working set read from
// outside, then how far each rose over the run's last nine tenths above its highest in the first.
//
//   bench_long_run.exe [SLIDE_FOLDER] [SLIDE_CHANGES]

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <filesystem>

#include "usage_log.h"

using namespace tessaro;
using namespace tessaro::e2e;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kSlideCount = 46;
constexpr Milliseconds kStallBound = 120000ms;  // no sample for this long: the saver has stopped

void PrintRow(const UsageSample& s, Clock::time_point begun) {
    std::wprintf(L"%8llu  %6x  %6x  %6x  %9.1f  %7.0f\n", static_cast<unsigned long long>(s.slides), s.eventHandle,
                 s.gdiIndex, s.userIndex, static_cast<double>(s.workingSetKb) / 1024,
                 std::chrono::duration<double>(Clock::now() - begun).count());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::filesystem::path source = argc > 1 ? argv[1] : BuiltFile(L"demo");
    const std::uint64_t slideChanges = argc > 2 ? std::wcstoull(argv[2], nullptr, 10) : 10000;
    const std::uint64_t warmUp = slideChanges / 10;
    const std::uint64_t printEvery = std::max<std::uint64_t>(slideChanges / 20, 10);

    const SaverFolder folder(L"TessaroLongRun.scr", L"tessaro-long-run");
    int copied = 0;
    for (int number = 1; number <= kSlideCount; ++number) {
        std::error_code error;
        if (std::filesystem::copy_file(source / SlideName(number), folder.Slide(number), error)) ++copied;
    }
    if (copied == 0) {
        std::fwprintf(stderr, L"no slides in %ls (build the target demo_slides)\n", source.c_str());
        return 2;
    }
    std::wprintf(L"%d slides from %ls, %llu slide changes\n\n", copied, source.c_str(),
                 static_cast<unsigned long long>(slideChanges));
    std::wprintf(L"  slides   event     gdi    user     WS MB   seconds\n");
    std::fflush(stdout);

    RestPointerAt(ScreenWidth() - 1, ScreenHeight() / 2);
    const UsageLog log;
    const auto begun = Clock::now();
    const std::unique_ptr<Process> process = folder.StartTraced(L"/s", log.Sink());
    log.Watch(*process);
    for (std::uint64_t next = printEvery; next <= slideChanges; next += printEvery) {
        if (!log.WaitForSlides(next, kStallBound)) {
            std::fwprintf(stderr, process->Running() ? L"the saver stopped changing slides\n" : L"the saver ended\n");
            return 1;
        }
        for (const UsageSample& s : log.Samples()) {
            if (s.slides == next) PrintRow(s, begun);
        }
        std::fflush(stdout);
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - begun).count();
    PressKey('A');
    process->WaitForExit(kPatience);

    const std::vector<UsageSample> samples = log.Samples();
    const UsageGrowth growth = GrowthAfterWarmUp(samples, warmUp);
    std::wprintf(L"\n%llu slide changes in %.0f s (%.1f ms each), %zu samples\n", static_cast<unsigned long long>(slideChanges),
                 seconds, seconds * 1000 / static_cast<double>(slideChanges), samples.size());
    std::wprintf(L"growth over the last %llu changes, above the highest of the first %llu:\n",
                 static_cast<unsigned long long>(slideChanges - warmUp), static_cast<unsigned long long>(warmUp));
    std::wprintf(L"  kernel handles %lld, GDI objects %lld, USER objects %lld, working set %.1f MB\n",
                 static_cast<long long>(growth.kernelHandles), static_cast<long long>(growth.gdiObjects),
                 static_cast<long long>(growth.userObjects), static_cast<double>(growth.workingSetKb) / 1024);
    return 0;
}
