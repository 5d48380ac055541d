#include "desktop_changes.h"

#include "win32/diagnostics.h"
#include "win32/window_class.h"

namespace tessaro {
namespace {

constexpr wchar_t kClassName[] = L"TessaroDesktopChanges";
constexpr UINT kGiveBack = WM_APP;

// Hides or shows the taskbar without touching its position, size or z-order.
constexpr UINT kTrayFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

}  // namespace

DesktopChanges::~DesktopChanges() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

void DesktopChanges::Take(HWND window) {
    window_ = window;
    takingThread_ = ::GetCurrentThreadId();
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    // Fails harmlessly when an earlier object registered it. The window is never seen.
    RegisterWindowClass<DesktopChanges>(instance, kClassName, NULL_BRUSH);
    if (!::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this)) {
        TraceFailure(L"creating the window that hears of desktop changes", L"the saver", LastErrorResult());
    }

    ::ShowCursor(FALSE);
    savedImeContext_ = ::ImmAssociateContext(window_, nullptr);
    trayWnd_ = ::FindWindowW(L"Shell_traywnd", L"");
    trayWasVisible_ = trayWnd_ && ::IsWindowVisible(trayWnd_);
    if (trayWasVisible_) ::SetWindowPos(trayWnd_, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | kTrayFlags);
    taken_ = true;
}

void DesktopChanges::GiveBack() {
    if (!taken_) return;
    // Another thread asks the taking thread first; when that one is stuck, or gone, it gives back
    // here what it can.
    DWORD_PTR ignored = 0;
    const bool answered = ::GetCurrentThreadId() != takingThread_ && hwnd_ &&
                          ::SendMessageTimeoutW(hwnd_, kGiveBack, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                                                &ignored);
    if (!answered) GiveBackHere();
}

void DesktopChanges::GiveBackHere() {
    if (!taken_.exchange(false)) return;  // given back already, perhaps by another thread
    // The pointer's display count and the window's input-method context can only be given back by
    // the taking thread. When it is stuck they stay as they are; the system drops both with the
    // thread and its window when the process ends.
    if (::GetCurrentThreadId() == takingThread_) {
        ::ShowCursor(TRUE);
        savedImeContext_ = ::ImmAssociateContext(window_, savedImeContext_);
    }
    if (trayWasVisible_) ::SetWindowPos(trayWnd_, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | kTrayFlags);
}

LRESULT DesktopChanges::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kGiveBack) {
        GiveBackHere();
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tessaro
