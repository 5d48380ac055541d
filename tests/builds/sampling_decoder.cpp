// TessaroLongRun.scr: the saver with a slide every TESSARO_SLIDE_INTERVAL_MS (40 ms) and a decoder
// that reports what the process holds as the slides go by. Every kSampleEvery slides it writes a
// usage sample (usage_sample.h) with OutputDebugStringW, then renders the slide as the program
// itself does. Slides are counted over every worker the
// program starts, since a worker stuck on a slide is replaced.
//
// A slide whose file begins with "SLOW READ" is read the way a share that has gone slow reads:
// it takes far longer than a slide interval, stop or not, so that the worker reading it is given
// up on and replaced; it takes little memory meanwhile, so that what the replacement costs is
// all the figures show.

#include <windows.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

#include "file_start.h"
#include "startup/program.h"
#include "usage_sample.h"
#include "wic/wic_slide_decoder.h"
#include "win32/unique_resource.h"

namespace tessaro {
namespace {

constexpr std::uint64_t kSampleEvery = 10;
constexpr DWORD kSlowReadMs = 250;

std::atomic<std::uint64_t> slidesRendered{0};

using UniqueMenu = UniqueResource<HMENU, &::DestroyMenu>;

std::uint32_t TableIndex(const void* handle) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle) & 0xFFFF); }

// Each object is given back before the next is made, so that none of them moves the others.
UsageSample Measure(std::uint64_t slides) {
    UsageSample sample;
    sample.slides = slides;
    {
        const UniqueHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        sample.eventHandle = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(event.get()));
    }
    {
        const UniqueBitmap bitmap(::CreateBitmap(1, 1, 1, 1, nullptr));
        sample.gdiIndex = TableIndex(bitmap.get());
    }
    const UniqueMenu menu(::CreateMenu());
    sample.userIndex = TableIndex(menu.get());
    return sample;
}

class SamplingDecoder final : public SlideDecoder {
public:
    std::optional<FileSignature> Signature(const std::wstring& path) override { return wic_.Signature(path); }

    std::optional<SlideFrame> Render(const std::wstring& path, int screenWidth, int screenHeight,
                                     const std::atomic<bool>& stop) override {
        const std::uint64_t slides = ++slidesRendered;
        if (slides % kSampleEvery == 0) ::OutputDebugStringW(FormatUsageSample(Measure(slides)).c_str());
        if (FileStart(path, 9) == "SLOW READ") ::Sleep(kSlowReadMs);
        return wic_.Render(path, screenWidth, screenHeight, stop);
    }

private:
    WicSlideDecoder wic_;
};

}  // namespace
}  // namespace tessaro

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return tessaro::RunProgram(instance, {std::chrono::milliseconds(TESSARO_SLIDE_INTERVAL_MS),
                                          [] { return std::make_unique<tessaro::SamplingDecoder>(); }});
}
