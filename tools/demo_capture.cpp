// Runs the saver on the demo slides and keeps a screenshot of each slide it shows, then ends it
// with a key press, as a user would. Screenshots are timed by the shipped slide interval.
//
//   demo_capture.exe SAVER OUTPUT_FOLDER SLIDE_COUNT

#include <cstdio>
#include <cwchar>
#include <string>
#include <thread>

#include "harness.h"

using namespace tessaro::e2e;

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fwprintf(stderr, L"usage: demo_capture SAVER OUTPUT_FOLDER SLIDE_COUNT\n");
        return 2;
    }
    const std::wstring saver = argv[1];
    const std::wstring output = argv[2];
    const int slides = static_cast<int>(std::wcstol(argv[3], nullptr, 10));
    constexpr Milliseconds interval(TESSARO_SLIDE_INTERVAL_MS);

    MoveMouseTo(ScreenWidth() - 1, ScreenHeight() - 1);
    Process process(saver, L"\"" + saver + L"\" /s");
    if (!process.WaitForWindow(kSaverClass, 10000ms)) {
        std::fwprintf(stderr, L"the saver did not start\n");
        return 1;
    }
    const auto shown = std::chrono::steady_clock::now();
    for (int slide = 1; slide <= slides && process.Running(); ++slide) {
        // Halfway through each slide's time on screen.
        std::this_thread::sleep_until(shown + interval * (slide - 1) + interval / 2);
        wchar_t name[32];
        std::swprintf(name, 32, L"\\slide-%02d.png", slide);
        const bool saved = Screenshot::Take().SavePng(output + name);
        std::wprintf(L"slide %2d: %ls%ls\n", slide, saved ? L"saved " : L"FAILED ", (output + name).c_str());
        std::fflush(stdout);
    }
    PressKey(VK_SPACE);
    if (!process.WaitForExit(5000ms)) {
        std::fwprintf(stderr, L"the saver did not end on a key press\n");
        return 1;
    }
    std::wprintf(L"the saver ended on a key press\n");
    return 0;
}
