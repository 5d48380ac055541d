// Times the whole per-tick slide work on Windows (or Wine): decode with WIC, place, scale and
// compose a screen, for every ZUMIKnn.DAT in a folder.
//
//   bench_slide_render.exe FOLDER [SCREEN_WIDTH SCREEN_HEIGHT]

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>

#include "icm/monitor_profile.h"
#include "show/slide_sequence.h"
#include "wic/wic_slide_decoder.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 2 && argc != 4) {
        std::fwprintf(stderr, L"usage: bench_slide_render FOLDER [SCREEN_WIDTH SCREEN_HEIGHT]\n");
        return 2;
    }
    const int width = argc == 4 ? static_cast<int>(std::wcstol(argv[2], nullptr, 10)) : 1024;
    const int height = argc == 4 ? static_cast<int>(std::wcstol(argv[3], nullptr, 10)) : 768;
    tessaro::WicSlideDecoder decoder;
    decoder.UseMonitorProfile(tessaro::PrimaryMonitorProfile());
    const std::atomic<bool> never{false};
    std::wprintf(L"%-12ls %-22ls %10ls\n", L"slide", L"placed at", L"ms");
    double total = 0;
    for (std::int16_t number = 1; number <= tessaro::kSlideCount; ++number) {
        const std::wstring path = tessaro::SlidePath(argv[1], number);
        const auto start = std::chrono::steady_clock::now();
        const auto frame = decoder.Render(path, width, height, never);
        const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
        total += elapsed.count();
        wchar_t placed[64] = L"unreadable";
        if (frame) {
            std::swprintf(placed, 64, L"%d,%d %dx%d", frame->picture.left, frame->picture.top, frame->picture.Width(),
                          frame->picture.Height());
        }
        std::wprintf(L"ZUMIK%02d.DAT %-22ls %10.1f\n", number, placed, elapsed.count());
    }
    std::wprintf(L"total %.0f ms for %d slides on a %dx%d screen\n", total, tessaro::kSlideCount, width, height);
    return 0;
}
