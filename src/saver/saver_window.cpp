#include "saver_window.h"

#include <windowsx.h>

#include <optional>

#include "icm/monitor_profile.h"
#include "render_mailbox.h"
#include "show/saver_input.h"
#include "show/slide_sequence.h"
#include "win32/diagnostics.h"
#include "win32/unique_resource.h"
#include "win32/window_class.h"

namespace tessaro {
namespace {

constexpr UINT_PTR kSlideTimer = 1;
constexpr wchar_t kClassName[] = L"TessaroSaverWindow";
constexpr wchar_t kTraceSubject[] = L"the saver window";
// Renders are waiting in the mailbox.
constexpr UINT kSlidesRendered = WM_APP + 1;

// What a message to one of the saver's windows is to the saver, if anything. Positions are taken
// to virtual-screen coordinates, so that one reference point serves every monitor.
std::optional<SaverInput> InputOf(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE: {
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ::ClientToScreen(window, &at);
            return SaverInput{SaverInput::Kind::PointerMoved, static_cast<float>(at.x), static_cast<float>(at.y)};
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:  // Alt, F10 and Alt combinations arrive here
            return SaverInput{SaverInput::Kind::KeyDown};
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
            return SaverInput{SaverInput::Kind::ButtonDown};
        case WM_CLOSE:
            return SaverInput{SaverInput::Kind::CloseRequested};
        case WM_ACTIVATEAPP:
            // lParam: the thread of the window that becomes active. All the saver's windows are on
            // this thread, so moving among them is never another program taking the foreground.
            if (wParam || static_cast<DWORD>(lParam) == ::GetCurrentThreadId()) return std::nullopt;
            return SaverInput{SaverInput::Kind::ForegroundLost};
        default:
            return std::nullopt;
    }
}

// Why the saver ends, for its trace.
const wchar_t* Reason(SaverInput::Kind input) {
    switch (input) {
        case SaverInput::Kind::KeyDown: return L"a key was pressed";
        case SaverInput::Kind::ButtonDown: return L"a mouse button was pressed";
        case SaverInput::Kind::PointerMoved: return L"the mouse moved";
        case SaverInput::Kind::CloseRequested: return L"a window was asked to close";
        case SaverInput::Kind::ForegroundLost: return L"another program took the foreground";
    }
    return L"input";
}

// The screen's pixels as a DIB: 32-bit, rows top-down, as composed.
BITMAPINFO ScreenDib(const Bitmap& screen) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = screen.width;
    info.bmiHeader.biHeight = -screen.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

SaverWindow::SaverWindow(std::wstring applicationFolder, SaverBuild build)
    : applicationFolder_(std::move(applicationFolder)),
      slideInterval_(build.slideInterval),
      slideShow_(kSlideCount),
      mailbox_(std::make_shared<RenderMailbox>(kSlidesRendered)),
      workers_(std::move(build.makeDecoder),
               [mailbox = mailbox_](std::unique_ptr<RenderResult> result) { mailbox->Put(std::move(result)); }) {}

bool SaverWindow::Create(HINSTANCE instance) {
    if (!RegisterWindowClass<SaverWindow>(instance, kClassName, BLACK_BRUSH) || !MonitorCover::Register(instance)) {
        TraceFailure(L"registering the saver's window classes", kTraceSubject, LastErrorResult());
        return false;
    }
    instance_ = instance;

    ReadScreen();
    // The first slide is asked for before anything else: decoding is the longest part of the
    // start, and making the window and preparing the desktop run meanwhile.
    if (workers_.StartFirst() == RenderWorkers::Start::NoThread) TraceWorkerStartFailure();
    CarryOut(slideShow_.Start(), nullptr);

    // A tool window gets no taskbar button.
    if (!::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, kSaverWindowTitle, WS_POPUP, 0, 0, screenWidth_,
                           screenHeight_, nullptr, nullptr, instance, this)) {
        TraceFailure(L"creating the window", kTraceSubject, LastErrorResult());
        return false;
    }
    mailbox_->Open(hwnd_);
    TakeOverDesktop();
    return true;
}

void SaverWindow::Show() {
    CoverOtherMonitors();
    // A first slide already rendered is in the first paint, rather than a moment after it.
    TakeRenderedSlides();
    ::ShowWindow(hwnd_, SW_SHOWNORMAL);
    ::ShowWindow(hwnd_, SW_MAXIMIZE);
    ::UpdateWindow(hwnd_);
}

// The window was created the size of the screen, with its black background.
void SaverWindow::TakeOverDesktop() {
    wchar_t emptyText[] = L"";
    ::SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, TRUE, emptyText, 0);
    desktop_.Take(hwnd_);
    // Activation waits for Show, which activates the window anyway: activating it while hidden
    // takes the foreground from the user's program before anything is seen, and slows the start.
    ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    ::InvalidateRect(hwnd_, nullptr, FALSE);
    // The first slide, asked for already, appears when the worker has it; black until then.
}

void SaverWindow::ReadScreen() {
    screenWidth_ = ::GetSystemMetrics(SM_CXSCREEN);
    screenHeight_ = ::GetSystemMetrics(SM_CYSCREEN);
    // Asked on this thread and handed to the workers with each job: asking takes objects of the
    // window system's, which the workers leave alone.
    monitorProfile_ = PrimaryMonitorProfile();
}

// Covers move to where the monitors are now; a cover for a monitor gone goes too.
void SaverWindow::CoverOtherMonitors() {
    const std::vector<RECT> monitors = MonitorsBesidesThePrimary();
    if (covers_.size() > monitors.size()) covers_.resize(monitors.size());
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        if (i < covers_.size()) {
            covers_[i]->Cover(monitors[i]);
        } else {
            covers_.push_back(std::make_unique<MonitorCover>(
                instance_, monitors[i], [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
                    return TakeInput(window, message, wParam, lParam);
                }));
        }
    }
}

// The monitors changed (one plugged in or out, a new resolution, a remote session): everything
// is fitted to them again, and when the primary monitor's size changed, the slide is rendered
// anew for it.
void SaverWindow::FollowDisplay() {
    const int oldWidth = screenWidth_;
    const int oldHeight = screenHeight_;
    ReadScreen();
    ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, screenWidth_, screenHeight_, SWP_NOACTIVATE);
    CoverOtherMonitors();
    desktop_.HideNewTaskbars();
    CarryOut(slideShow_.DisplayChanged(screenWidth_ != oldWidth || screenHeight_ != oldHeight), nullptr);
}

void SaverWindow::End(std::wstring_view why) {
    desktop_.GiveBack();
    TraceNote(L"the saver ends: " + std::wstring(why));
    // The desktop is back; now end at once. ExitProcess would first stop the worker wherever it
    // is, possibly inside a codec holding a lock, and then run every DLL's detach code, which can
    // wait on that lock forever. Nothing is left to flush: the saver writes nothing.
    ::TerminateProcess(::GetCurrentProcess(), 0);
    ::ExitProcess(0);  // never reached; tells the compiler this function does not return
}

void SaverWindow::CarryOut(const SlideShow::Actions& actions, SlideFrame* frame) {
    if (actions.overdueSlide != 0) {
        TraceFailure(L"rendering the slide within one interval", SlidePath(applicationFolder_, actions.overdueSlide),
                     HRESULT_FROM_WIN32(ERROR_TIMEOUT));
        if (workers_.ReplaceStuck() == RenderWorkers::Start::NoThread) TraceWorkerStartFailure();
    }
    switch (actions.screen) {
        case SlideShow::Actions::Screen::ShowFrame: Present(std::move(*frame)); break;
        case SlideShow::Actions::Screen::Black: Present(std::nullopt); break;
        case SlideShow::Actions::Screen::Keep: break;
    }
    if (actions.render) {
        const SlideShow::RenderOrder& order = *actions.render;
        workers_.Submit(RenderJob{order.generation, SlidePath(applicationFolder_, order.slide), screenWidth_,
                                  screenHeight_, order.prefetch, monitorProfile_});
    }
}

void SaverWindow::TraceWorkerStartFailure() const {
    const std::error_code why = workers_.StartFailure();
    TraceFailure(L"starting a slide worker (" + Describe(why) + L")", kTraceSubject, ErrorCodeResult(why));
}

void SaverWindow::TakeRenderedSlides() {
    for (const std::unique_ptr<RenderResult>& result : mailbox_->Take()) {
        SlideFrame* frame = result->frame ? &*result->frame : nullptr;
        CarryOut(slideShow_.Rendered(result->generation, frame != nullptr), frame);
    }
}

// The frame that was shown goes as this one comes: the saver holds one screen besides the one
// the worker renders ahead.
void SaverWindow::Present(std::optional<SlideFrame> frame) {
    shown_ = std::move(frame);
    ::InvalidateRect(hwnd_, nullptr, FALSE);
    ::UpdateWindow(hwnd_);
}

void SaverWindow::Paint() {
    const WindowPaint paint(hwnd_);
    if (shown_ && shown_->screen.width == screenWidth_ && shown_->screen.height == screenHeight_) {
        const BITMAPINFO dib = ScreenDib(shown_->screen);
        if (::SetDIBitsToDevice(paint.Dc(), 0, 0, screenWidth_, screenHeight_, 0, 0, 0, screenHeight_,
                                shown_->screen.pixels.data(), &dib, DIB_RGB_COLORS)) {
            return;
        }
        TraceFailure(L"drawing the slide on the window", kTraceSubject, LastErrorResult());
    }
    // No slide, or none drawn: black, never what the window held before.
    ::FillRect(paint.Dc(), &paint.Area(), static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}

void SaverWindow::OnSlideTimer() {
    for (const std::unique_ptr<MonitorCover>& cover : covers_) cover->BringToTop();
    ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    // Why SetFocus failed, if it says: read before anything else can change it.
    ::SetLastError(ERROR_SUCCESS);
    ::SetFocus(hwnd_);
    const HRESULT why = LastErrorResult();
    // Without the focus the slide stays as it is.
    const bool focused = ::GetFocus() == hwnd_;
    if (!focused) TraceFailure(L"giving the focus at the slide timer", kTraceSubject, why);
    CarryOut(slideShow_.Tick(focused), nullptr);
}

LRESULT SaverWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            // Without it the first slide stays for good.
            if (!::SetTimer(window, kSlideTimer, static_cast<UINT>(slideInterval_.count()), nullptr)) {
                TraceFailure(L"starting the slide timer", kTraceSubject, LastErrorResult());
            }
            return 0;
        case WM_TIMER:
            if (wParam == kSlideTimer) OnSlideTimer();
            return 0;
        case kSlidesRendered:
            TakeRenderedSlides();
            return 0;
        case WM_GETMINMAXINFO: {
            // Maximised means the whole monitor, not the work area.
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMaxPosition = {0, 0};
            limits->ptMaxSize = {screenWidth_, screenHeight_};
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // painting covers every pixel; erasing first would flash black
        case WM_PAINT:
            Paint();
            return 0;
        case WM_DISPLAYCHANGE:
            FollowDisplay();
            return 0;
        default:
            if (TakeInput(window, message, wParam, lParam)) return 0;
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

bool SaverWindow::TakeInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const std::optional<SaverInput> input = InputOf(window, message, wParam, lParam);
    if (!input) return false;
    if (slideShow_.EndsOn(*input)) End(Reason(input->kind));
    return true;
}

}  // namespace tessaro
