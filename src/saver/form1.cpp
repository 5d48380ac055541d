#include "form1.h"

#include <windowsx.h>

#include <cstring>
#include <mutex>
#include <system_error>
#include <vector>

#include "slide_decoder_choice.h"
#include "slide_interval.h"
#include "slide_sequence.h"
#include "../win32/diagnostics.h"
#include "../win32/window_class.h"

namespace tessaro {
namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr wchar_t kClassName[] = L"TessaroSaverWindow";
// Renders are waiting in the mailbox.
constexpr UINT kSlidesRendered = WM_APP + 1;
// Workers given up on while stuck in a read; beyond this many, no more are started and slide
// changes wait in the current one.
constexpr int kMaxAbandonedWorkers = 4;

}  // namespace

// Finished renders on their way from the worker threads to the window, which may not exist yet
// when the first one is done: it collects whatever waits once it is there.
class RenderMailbox {
public:
    // Any thread.
    void Put(std::unique_ptr<RenderResult> result) {
        const std::lock_guard<std::mutex> lock(mutex_);
        results_.push_back(std::move(result));
        if (window_) ::PostMessageW(window_, kSlidesRendered, 0, 0);
    }
    // The window's thread: from now on every result is announced to window.
    void Open(HWND window) {
        const std::lock_guard<std::mutex> lock(mutex_);
        window_ = window;
        if (!results_.empty()) ::PostMessageW(window_, kSlidesRendered, 0, 0);
    }
    std::vector<std::unique_ptr<RenderResult>> Take() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return std::move(results_);
    }

private:
    std::mutex mutex_;
    std::vector<std::unique_ptr<RenderResult>> results_;
    HWND window_ = nullptr;
};

Form1::Form1(std::wstring applicationFolder)
    : applicationFolder_(std::move(applicationFolder)),
      slideShow_(kSlideCount),
      mailbox_(std::make_shared<RenderMailbox>()) {}

bool Form1::Create(HINSTANCE instance) {
    if (!RegisterWindowClass<Form1>(instance, kClassName, BLACK_BRUSH) || !MonitorCover::Register(instance)) {
        TraceFailure(L"registering the saver's window classes", L"Form1", static_cast<long>(::GetLastError()));
        return false;
    }
    instance_ = instance;

    ReadScreenSize();
    // The first slide is asked for before anything else: decoding is the longest part of the
    // start, and making the window and preparing the desktop run meanwhile.
    StartWorker();
    Carry(slideShow_.Start(), nullptr);

    // A tool window gets no taskbar button.
    if (!::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, L"Form1", WS_POPUP, 0, 0, screenWidth_,
                           screenHeight_, nullptr, nullptr, instance, this)) {
        TraceFailure(L"creating the saver window", L"Form1", static_cast<long>(::GetLastError()));
        return false;
    }
    mailbox_->Open(hwnd_);
    Load();
    return true;
}

void Form1::Show() {
    CoverOtherMonitors();
    // A first slide already rendered is in the first paint, rather than a moment after it.
    SlidesRendered();
    ::ShowWindow(hwnd_, SW_SHOWNORMAL);
    ::ShowWindow(hwnd_, SW_MAXIMIZE);
    ::UpdateWindow(hwnd_);
}

void Form1::StartWorker() {
    try {
        worker_ = std::make_unique<SlideWorker>(
            &MakeSlideDecoder,
            [mailbox = mailbox_](std::unique_ptr<RenderResult> result) { mailbox->Put(std::move(result)); },
            abandonedWorkers_);
    } catch (const std::system_error& error) {
        TraceFailure(L"starting the slide worker", L"Form1", error.code().value());
    }
}

// Black, as a new DIB section is.
void Form1::MakeBackBuffer() {
    backBufferDc_.reset();  // before the bitmap selected into it
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = screenWidth_;
    info.bmiHeader.biHeight = -screenHeight_;  // top-down rows, as composed
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    backBuffer_.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &backBufferBits_, nullptr, 0));
    backBufferDc_.reset(::CreateCompatibleDC(nullptr));
    if (backBuffer_ && backBufferDc_) {
        ::SelectObject(backBufferDc_.get(), backBuffer_.get());
    } else {
        // Every slide will stay black.
        TraceFailure(L"making the back buffer", L"Form1", static_cast<long>(::GetLastError()));
        backBufferBits_ = nullptr;
    }
}

// The window was created the size of the screen, with its black background.
void Form1::Load() {
    MakeBackBuffer();

    wchar_t emptyText[] = L"";
    ::SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, TRUE, emptyText, 0);
    desktop_.Take(hwnd_);
    ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    ::InvalidateRect(hwnd_, nullptr, FALSE);
    // The first slide, asked for already, appears when the worker has it; black until then.
}

void Form1::ReadScreenSize() {
    screenWidth_ = ::GetSystemMetrics(SM_CXSCREEN);
    screenHeight_ = ::GetSystemMetrics(SM_CYSCREEN);
}

// Covers move to where the monitors are now; a cover for a monitor gone goes too.
void Form1::CoverOtherMonitors() {
    const std::vector<RECT> monitors = MonitorsBesidesThePrimary();
    if (covers_.size() > monitors.size()) covers_.resize(monitors.size());
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        if (i < covers_.size()) {
            covers_[i]->Cover(monitors[i]);
        } else {
            covers_.push_back(std::make_unique<MonitorCover>(
                instance_, monitors[i], [this](HWND window, UINT message, LPARAM lParam) {
                    return TakeInput(window, message, lParam);
                }));
        }
    }
}

// The monitors changed (one plugged in or out, a new resolution, a remote session): everything
// is fitted to them again, and the slide is rendered anew for the primary monitor's new size.
void Form1::FollowDisplay() {
    ReadScreenSize();
    MakeBackBuffer();
    ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, screenWidth_, screenHeight_, SWP_NOACTIVATE);
    CoverOtherMonitors();
    Carry(slideShow_.DisplayChanged(), nullptr);
}

void Form1::Unload() {
    desktop_.GiveBack();
    // The desktop is back; now end at once. ExitProcess would first stop the worker wherever it
    // is, possibly inside a codec holding a lock, and then run every DLL's detach code, which can
    // wait on that lock forever. Nothing is left to flush: the saver writes nothing.
    ::TerminateProcess(::GetCurrentProcess(), 0);
    ::ExitProcess(0);  // never reached; tells the compiler this function does not return
}

void Form1::Carry(const SlideShow::Actions& actions, const SlideFrame* frame) {
    if (actions.overdueSlide != 0) {
        TraceFailure(L"rendering the slide within one interval", SlidePath(applicationFolder_, actions.overdueSlide),
                     static_cast<long>(HRESULT_FROM_WIN32(ERROR_TIMEOUT)));
        if (*abandonedWorkers_ < kMaxAbandonedWorkers) StartWorker();
    }
    switch (actions.screen) {
        case SlideShow::Actions::Screen::ShowFrame: Present(&frame->screen); break;
        case SlideShow::Actions::Screen::Black: Present(nullptr); break;
        case SlideShow::Actions::Screen::Keep: break;
    }
    if (actions.render && worker_) {
        const SlideShow::RenderOrder& order = *actions.render;
        worker_->Submit(RenderJob{order.generation, SlidePath(applicationFolder_, order.slide), screenWidth_,
                                  screenHeight_, order.prefetch});
    }
}

void Form1::SlidesRendered() {
    for (const std::unique_ptr<RenderResult>& result : mailbox_->Take()) {
        const SlideFrame* frame = result->frame ? &*result->frame : nullptr;
        Carry(slideShow_.Rendered(result->generation, frame != nullptr), frame);
    }
}

void Form1::Present(const Bitmap* screen) {
    if (!backBufferBits_) return;
    const std::size_t bytes = static_cast<std::size_t>(screenWidth_) * screenHeight_ * sizeof(std::uint32_t);
    if (screen && screen->width == screenWidth_ && screen->height == screenHeight_) {
        std::memcpy(backBufferBits_, screen->pixels.data(), bytes);
    } else {
        std::memset(backBufferBits_, 0, bytes);
    }
    ::InvalidateRect(hwnd_, nullptr, FALSE);
    ::UpdateWindow(hwnd_);
}

void Form1::Paint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(hwnd_, &paint);
    if (backBufferBits_) {
        if (!::BitBlt(dc, 0, 0, screenWidth_, screenHeight_, backBufferDc_.get(), 0, 0, SRCCOPY)) {
            TraceFailure(L"drawing the slide on the window", L"Form1", static_cast<long>(::GetLastError()));
        }
    } else {
        ::FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
    ::EndPaint(hwnd_, &paint);
}

void Form1::Timer1_Timer() {
    for (const std::unique_ptr<MonitorCover>& cover : covers_) cover->BringToTop();
    ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    ::SetFocus(hwnd_);
    // Without the focus the slide stays as it is.
    const bool focused = ::GetFocus() == hwnd_;
    if (!focused) TraceFailure(L"giving the saver window the focus", L"Timer1", static_cast<long>(::GetLastError()));
    Carry(slideShow_.Tick(focused), nullptr);
}

LRESULT Form1::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            // Without it the first slide stays for good.
            if (!::SetTimer(window, kTimer1, kSlideIntervalMs, nullptr)) {
                TraceFailure(L"starting Timer1", L"Form1", static_cast<long>(::GetLastError()));
            }
            return 0;
        case WM_TIMER:
            if (wParam == kTimer1) Timer1_Timer();
            return 0;
        case kSlidesRendered:
            SlidesRendered();
            return 0;
        case WM_GETMINMAXINFO: {
            // Maximised means the whole monitor, not the work area.
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMaxPosition = {0, 0};
            limits->ptMaxSize = {screenWidth_, screenHeight_};
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // the back buffer covers every pixel; erasing first would flash black
        case WM_PAINT:
            Paint();
            return 0;
        case WM_DISPLAYCHANGE:
            FollowDisplay();
            return 0;
        default:
            if (TakeInput(window, message, lParam)) return 0;
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

bool Form1::TakeInput(HWND window, UINT message, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE: {
            // One reference point for every monitor: positions in virtual-screen coordinates.
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ::ClientToScreen(window, &at);
            if (slideShow_.MouseMoved(static_cast<float>(at.x), static_cast<float>(at.y))) Unload();
            return true;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:  // Alt, F10 and Alt combinations arrive here
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
        case WM_CLOSE:  // the system's request to close a saver window ends the saver too
            Unload();
        default:
            return false;
    }
}

}  // namespace tessaro
