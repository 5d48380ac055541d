// The entry point of Tessaro.scr: the saver as shipped, a slide every TESSARO_SLIDE_INTERVAL_MS
// (set in CMakeLists.txt), decoded with WIC.

#include <windows.h>

#include <chrono>
#include <memory>

#include "program.h"
#include "wic/wic_slide_decoder.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return tessaro::RunProgram(instance, {std::chrono::milliseconds(TESSARO_SLIDE_INTERVAL_MS),
                                          [] { return std::make_unique<tessaro::WicSlideDecoder>(); }});
}
