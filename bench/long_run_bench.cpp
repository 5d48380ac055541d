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

// The lowest and highest of each figure during the warm-up and after it.
void PrintRanges(const std::vector<UsageSample>& samples, std::uint64_t warmUp) {
    struct Range {
        UsageSample low{~0ull, ~0u, ~0u, ~0u, ~0ull};
        UsageSample high;
    } ranges[2];
    for (const UsageSample& s : samples) {
        Range& r = ranges[s.slides > warmUp];
        r.low = {0, std::min(r.low.eventHandle, s.eventHandle), std::min(r.low.gdiIndex, s.gdiIndex),
                 std::min(r.low.userIndex, s.userIndex), std::min(r.low.workingSetKb, s.workingSetKb)};
        r.high = {0, std::max(r.high.eventHandle, s.eventHandle), std::max(r.high.gdiIndex, s.gdiIndex),
                  std::max(r.high.userIndex, s.userIndex), std::max(r.high.workingSetKb, s.workingSetKb)};
    }
    const wchar_t* names[] = {L"first", L"rest"};
    for (int part = 0; part < 2; ++part) {
        const Range& r = ranges[part];
        std::wprintf(L"  %-5ls  event %x-%x, gdi %x-%x, user %x-%x, working set %.1f-%.1f MB\n", names[part],
                     r.low.eventHandle, r.high.eventHandle, r.low.gdiIndex, r.high.gdiIndex, r.low.userIndex,
                     r.high.userIndex, static_cast<double>(r.low.workingSetKb) / 1024,
                     static_cast<double>(r.high.workingSetKb) / 1024);
    }
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
    std::wprintf(L"\n%llu slide changes in %.0f s (%.1f ms each), %zu samples\n", static_cast<unsigned long long>(slideChanges),
                 seconds, seconds * 1000 / static_cast<double>(slideChanges), samples.size());
    PrintRanges(samples, warmUp);
    const UsageGrowth growth = GrowthAfterWarmUp(samples, warmUp);
    std::wprintf(L"growth over the last %llu changes (levels over %zu samples in a row, above the highest in the first %llu):\n",
                 static_cast<unsigned long long>(slideChanges - warmUp), kSteadyStretch,
                 static_cast<unsigned long long>(warmUp));
    std::wprintf(L"  kernel handles %lld, GDI objects %lld, USER objects %lld, working set %.1f MB\n",
                 static_cast<long long>(growth.kernelHandles), static_cast<long long>(growth.gdiObjects),
                 static_cast<long long>(growth.userObjects), static_cast<double>(growth.workingSetKb) / 1024);
    return 0;
}
