// Renders slide files through the program's own decoder and writes each screen as its raw pixels
// (blue, green, red, unused; rows top-down); nothing for a slide that cannot be shown.
//
//   render_slides.exe WIDTH HEIGHT SLIDE SCREEN [SLIDE SCREEN]...

#include <windows.h>

#include <cwchar>
#include <fstream>

#include "icm/monitor_profile.h"
#include "wic/wic_slide_decoder.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 5 || argc % 2 == 0) return 2;
    const int width = static_cast<int>(std::wcstol(argv[1], nullptr, 10));
    const int height = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
    tessaro::WicSlideDecoder decoder;
    decoder.UseMonitorProfile(tessaro::PrimaryMonitorProfile());
    const std::atomic<bool> never{false};
    for (int i = 3; i + 1 < argc; i += 2) {
        const auto frame = decoder.Render(argv[i], width, height, never);
        if (!frame) continue;
        std::ofstream(argv[i + 1], std::ios::binary)
            .write(reinterpret_cast<const char*>(frame->screen.pixels.data()),
                   static_cast<std::streamsize>(frame->screen.pixels.size() * sizeof(std::uint32_t)));
    }
    return 0;
}
