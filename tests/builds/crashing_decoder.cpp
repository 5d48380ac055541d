// TessaroCrash.scr: the saver with a decoder that crashes on purpose, the way a faulty codec
// inside the process might. A slide whose file begins with one of the texts below makes it fail
// that way; every other slide is decoded as the program itself decodes it. Started with
// "NO WINDOW" after its switch, it is refused its window, as by a system out of window handles.

#include <windows.h>

#include <chrono>
#include <cwchar>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "file_start.h"
#include "startup/program.h"
#include "wic/wic_slide_decoder.h"

namespace tessaro {
namespace {

[[noreturn]] void WriteToNowhere() {
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
    std::abort();  // not reached
}

LRESULT CALLBACK CrashingWindowProcedure(HWND, UINT, WPARAM, LPARAM) { WriteToNowhere(); }

// Fails the creation of the saver's window.
LRESULT CALLBACK RefuseSaverWindow(int code, WPARAM wParam, LPARAM lParam) {
    wchar_t className[32] = L"";
    if (code == HCBT_CREATEWND && ::GetClassNameW(reinterpret_cast<HWND>(wParam), className, 32) &&
        std::wcscmp(className, L"TessaroSaverWindow") == 0) {
        return 1;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class CrashingDecoder final : public SlideDecoder {
public:
    std::optional<FileSignature> Signature(const std::wstring& path) override { return wic_.Signature(path); }

    std::optional<SlideFrame> Render(const std::wstring& path, int screenWidth, int screenHeight,
                                     const std::atomic<bool>& stop) override {
        const std::string start = FileStart(path, 15);
        if (start == "CRASH IN WORKER") WriteToNowhere();
        if (start == "THROW IN WORKER") throw std::runtime_error("a codec's exception");
        if (start == "CRASH IN THREAD") std::thread(&WriteToNowhere).detach();
        if (start == "CRASH IN WINDOW") {
            // The saver window's next message runs code that writes to nowhere, on its own thread.
            HWND saver = ::FindWindowW(L"TessaroSaverWindow", nullptr);
            ::SetWindowLongPtrW(saver, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CrashingWindowProcedure));
            ::PostMessageW(saver, WM_NULL, 0, 0);
        }
        return wic_.Render(path, screenWidth, screenHeight, stop);
    }

private:
    WicSlideDecoder wic_;
};

}  // namespace
}  // namespace tessaro

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    if (std::wcsstr(commandLine, L"NO WINDOW")) {
        ::SetWindowsHookExW(WH_CBT, &tessaro::RefuseSaverWindow, nullptr, ::GetCurrentThreadId());
    }
    return tessaro::RunProgram(instance, {std::chrono::milliseconds(TESSARO_SLIDE_INTERVAL_MS),
                                          [] { return std::make_unique<tessaro::CrashingDecoder>(); }});
}
