// A long run of the saver: TessaroLongRun.scr (the program with a slide every 40 ms, reporting
// every ten slides what the process holds) over a folder of slides, by default the demo slides,
// for 10,000 slide changes. Prints each figure's range over every twentieth of the run, with the
// working set read from outside, then how far each figure's level rose over the run's last nine
// tenths above its highest level in the first tenth.
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

// The lowest and highest of each figure over the samples with slides in (after, upTo].
struct Range {
    UsageSample low{0, ~0u, ~0u, ~0u, ~0ull};
    UsageSample high;

    Range(const std::vector<UsageSample>& samples, std::uint64_t after, std::uint64_t upTo) {
        for (const UsageSample& s : samples) {
            if (s.slides <= after || s.slides > upTo) continue;
            low = {0, std::min(low.eventHandle, s.eventHandle), std::min(low.gdiIndex, s.gdiIndex),
                   std::min(low.userIndex, s.userIndex), std::min(low.workingSetKb, s.workingSetKb)};
            high = {0, std::max(high.eventHandle, s.eventHandle), std::max(high.gdiIndex, s.gdiIndex),
                    std::max(high.userIndex, s.userIndex), std::max(high.workingSetKb, s.workingSetKb)};
        }
    }
    void Print(const wchar_t* label) const {
        std::wprintf(L"%8ls  %4x-%-4x  %4x-%-4x  %4x-%-4x  %6.1f-%-6.1f", label, low.eventHandle, high.eventHandle,
                     low.gdiIndex, high.gdiIndex, low.userIndex, high.userIndex, static_cast<double>(low.workingSetKb) / 1024,
                     static_cast<double>(high.workingSetKb) / 1024);
    }
};

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
    std::wprintf(L"%d slides from %ls, %llu slide changes, lowest-highest of each figure\n\n", copied, source.c_str(),
                 static_cast<unsigned long long>(slideChanges));
    std::wprintf(L"  slides      event        gdi       user  working set MB  seconds\n");
    std::fflush(stdout);

    RestPointerAt(ScreenWidth() - 1, ScreenHeight() / 2);
    const UsageLog log;
    const auto begun = Clock::now();
    const std::unique_ptr<Process> process = folder.StartTraced(L"/s", log.Sink());
    log.Watch(*process);
    for (std::uint64_t upTo = printEvery; upTo <= slideChanges; upTo += printEvery) {
        if (!log.WaitForSlides(upTo, kStallBound)) {
            std::fwprintf(stderr, process->Running() ? L"the saver stopped changing slides\n" : L"the saver ended\n");
            return 1;
        }
        Range(log.Samples(), upTo - printEvery, upTo).Print(std::to_wstring(upTo).c_str());
        std::wprintf(L"  %7.0f\n", std::chrono::duration<double>(Clock::now() - begun).count());
        std::fflush(stdout);
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - begun).count();
    PressKey('A');
    process->WaitForExit(kPatience);

    const std::vector<UsageSample> samples = log.Samples();
    std::wprintf(L"\n%llu slide changes in %.0f s (%.1f ms each), %zu samples\n", static_cast<unsigned long long>(slideChanges),
                 seconds, seconds * 1000 / static_cast<double>(slideChanges), samples.size());
    Range(samples, 0, warmUp).Print(L"first");
    std::wprintf(L"\n");
    Range(samples, warmUp, slideChanges).Print(L"rest");
    std::wprintf(L"\n");
    // A level over a whole print interval: the demo slides hold very different amounts of memory
    // while they are decoded, and a shorter stretch of samples may fall on big ones only.
    const std::size_t stretch = static_cast<std::size_t>(printEvery / 10);
    const UsageGrowth growth = GrowthAfterWarmUp(samples, warmUp, stretch);
    std::wprintf(L"growth over the last %llu changes (levels: lowest over %zu samples in a row) above the highest level in the first %llu:\n",
                 static_cast<unsigned long long>(slideChanges - warmUp), stretch, static_cast<unsigned long long>(warmUp));
    std::wprintf(L"  kernel handles %lld, GDI objects %lld, USER objects %lld, working set %.1f MB\n",
                 static_cast<long long>(growth.kernelHandles), static_cast<long long>(growth.gdiObjects),
                 static_cast<long long>(growth.userObjects), static_cast<double>(growth.workingSetKb) / 1024);
    return 0;
}
