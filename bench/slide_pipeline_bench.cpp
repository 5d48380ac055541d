// Times the slide path that runs on every tick: placement, scaling and composing a screen.
// Prints milliseconds per slide for typical slide sizes; build with the "bench" preset.

#include <chrono>
#include <cstdio>

#include "slides/slide_frame.h"

namespace {

double MillisecondsPerCompose(int w, int h, int screenW, int screenH, int repeats) {
    tessaro::Bitmap picture(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) picture.At(x, y) = 0xFF000000u | static_cast<std::uint32_t>((x * 7) ^ (y * 13));
    const auto start = std::chrono::steady_clock::now();
    std::size_t sink = 0;
    for (int i = 0; i < repeats; ++i) sink += tessaro::ComposeSlide(picture, screenW, screenH)->screen.pixels[0];
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    if (sink == 1) std::puts("");  // keeps the work observable
    return elapsed.count() / repeats;
}

}  // namespace

int main() {
    struct Case {
        int w, h, screenW, screenH, repeats;
    };
    const Case cases[] = {
        {800, 600, 1024, 768, 20},    {1023, 767, 1024, 768, 20},   {1200, 400, 1024, 768, 20},
        {640, 480, 1920, 1080, 10},   {1920, 1080, 1920, 1080, 10}, {2048, 2048, 1920, 1080, 5},
        {6000, 4000, 1024, 768, 3},   {6000, 4000, 1920, 1080, 3},  {8000, 5000, 2560, 1440, 2},
    };
    std::printf("%-12s %-11s %10s\n", "picture", "screen", "ms/slide");
    for (const Case& c : cases) {
        std::printf("%5dx%-6d %4dx%-6d %10.1f\n", c.w, c.h, c.screenW, c.screenH,
                    MillisecondsPerCompose(c.w, c.h, c.screenW, c.screenH, c.repeats));
    }
}
