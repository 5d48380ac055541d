#include "form1.h"

#include <imm.h>
#include <windowsx.h>

#include <cstring>
#include <optional>

#include "slide_interval.h"
#include "slide_renderer.h"
#include "slide_sequence.h"
#include "../win32/window_class.h"

namespace tessaro {
namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr wchar_t kClassName[] = L"TessaroSaverWindow";

// Hides or shows the taskbar without touching its position, size or z-order.
constexpr UINT kTrayFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

}  // namespace

Form1::Form1(std::wstring applicationFolder) : applicationFolder_(std::move(applicationFolder)) {}

bool Form1::Create(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &WindowThunk::WindowProcedure<Form1>;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    if (!::RegisterClassExW(&windowClass)) return false;

    screenWidth_ = ::GetSystemMetrics(SM_CXSCREEN);
    screenHeight_ = ::GetSystemMetrics(SM_CYSCREEN);
    // A tool window gets no taskbar button.
    if (!::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, L"Form1", WS_POPUP, 0, 0, screenWidth_,
                           screenHeight_, nullptr, nullptr, instance, this)) {
        return false;
    }
    Load();
    return true;
}

void Form1::Show() {
    ::ShowWindow(hwnd_, SW_SHOWNORMAL);
    ::ShowWindow(hwnd_, SW_MAXIMIZE);
    ::UpdateWindow(hwnd_);  // the first slide is on screen the moment the window is
}

// The window was created the size of the screen, with its black background.
void Form1::Load() {
    // The back buffer starts black too.
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
        backBufferBits_ = nullptr;
    }

    wchar_t emptyText[] = L"";
    ::SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, TRUE, emptyText, 0);
    ::ShowCursor(FALSE);
    savedImeContext_ = ::ImmAssociateContext(hwnd_, nullptr);
    trayWnd_ = ::FindWindowW(L"Shell_traywnd", L"");
    trayWasVisible_ = trayWnd_ && ::IsWindowVisible(trayWnd_);
    if (trayWasVisible_) ::SetWindowPos(trayWnd_, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | kTrayFlags);
    ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    ::InvalidateRect(hwnd_, nullptr, FALSE);

    nextSlide_ = 1;
    slideCount_ = kSlideCount;
    ShowNextSlide();
    movement_.Arm();
}

void Form1::Unload() {
    ::ShowCursor(TRUE);
    savedImeContext_ = ::ImmAssociateContext(hwnd_, savedImeContext_);
    if (trayWasVisible_) ::SetWindowPos(trayWnd_, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | kTrayFlags);
    ::ExitProcess(0);
}

void Form1::ShowNextSlide() {
    const std::wstring path = SlidePath(applicationFolder_, nextSlide_);
    // Advanced before loading, so that a slide that fails is skipped next time.
    nextSlide_ = FollowingSlide(nextSlide_, slideCount_);

    // The client area is the whole screen, the size of the back buffer.
    const std::optional<SlideFrame> frame = RenderSlide(path, screenWidth_, screenHeight_);
    if (!frame) {
        Present(nullptr);  // the screen stays black until the next good slide
        return;
    }
    Present(&frame->screen);
    movement_.Arm();
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
        ::BitBlt(dc, 0, 0, screenWidth_, screenHeight_, backBufferDc_.get(), 0, 0, SRCCOPY);
    } else {
        ::FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
    ::EndPaint(hwnd_, &paint);
}

void Form1::Timer1_Timer() {
    ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    ::SetFocus(hwnd_);
    if (::GetFocus() != hwnd_) return;  // without the focus the slide stays as it is
    ShowNextSlide();
}

void Form1::OnMouseMove(LPARAM lParam) {
    const auto x = static_cast<float>(GET_X_LPARAM(lParam));
    const auto y = static_cast<float>(GET_Y_LPARAM(lParam));
    if (movement_.OnMove(x, y)) Unload();
}

LRESULT Form1::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            ::SetTimer(window, kTimer1, kSlideIntervalMs, nullptr);
            return 0;
        case WM_TIMER:
            if (wParam == kTimer1) Timer1_Timer();
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
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:  // Alt, F10 and Alt combinations arrive here
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
        case WM_CLOSE:
            Unload();
        case WM_MOUSEMOVE:
            OnMouseMove(lParam);
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace tessaro
