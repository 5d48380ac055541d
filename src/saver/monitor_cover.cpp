#include "monitor_cover.h"

#include "win32/diagnostics.h"
#include "win32/window_class.h"

namespace tessaro {
namespace {

constexpr wchar_t kClassName[] = L"TessaroMonitorCover";

// Not even a tool window takes the focus from the saver window by appearing or moving.
constexpr UINT kCoverFlags = SWP_NOACTIVATE | SWP_SHOWWINDOW;

}  // namespace

bool MonitorCover::Register(HINSTANCE instance) {
    return RegisterWindowClass<MonitorCover>(instance, kClassName, BLACK_BRUSH);
}

MonitorCover::MonitorCover(HINSTANCE instance, const RECT& monitor, TakeInput takeInput)
    : takeInput_(std::move(takeInput)) {
    // A tool window has no taskbar button and no place in Alt+Tab.
    if (!::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, monitor.left, monitor.top,
                           monitor.right - monitor.left, monitor.bottom - monitor.top, nullptr, nullptr, instance,
                           this)) {
        TraceFailure(L"covering a monitor", L"a monitor cover", LastErrorResult());
        return;
    }
    Cover(monitor);
}

MonitorCover::~MonitorCover() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

void MonitorCover::Cover(const RECT& monitor) {
    if (!hwnd_) return;
    ::SetWindowPos(hwnd_, HWND_TOPMOST, monitor.left, monitor.top, monitor.right - monitor.left,
                   monitor.bottom - monitor.top, kCoverFlags);
}

void MonitorCover::BringToTop() {
    if (hwnd_) ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | kCoverFlags);
}

LRESULT MonitorCover::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (takeInput_(window, message, wParam, lParam)) return 0;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

std::vector<RECT> MonitorsBesidesThePrimary() {
    std::vector<RECT> monitors;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, RECT*, LPARAM context) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof(info);
            if (::GetMonitorInfoW(monitor, &info) && !(info.dwFlags & MONITORINFOF_PRIMARY)) {
                reinterpret_cast<std::vector<RECT>*>(context)->push_back(info.rcMonitor);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

}  // namespace tessaro
