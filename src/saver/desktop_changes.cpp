#include "desktop_changes.h"

#include <algorithm>
#include <vector>

#include "win32/diagnostics.h"
#include "win32/window_class.h"

namespace tessaro {
namespace {

constexpr wchar_t kClassName[] = L"TessaroDesktopChanges";
constexpr UINT kGiveBack = WM_APP;

// Hides or shows a taskbar without touching its position, size or z-order, and without waiting
// for Explorer to do it: the request is posted to its thread.
constexpr UINT kTaskbarFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS;

// The primary monitor's taskbar and those of the other monitors, where they are visible.
// Looking them up asks Explorer nothing: window classes and titles are read without messages.
std::vector<HWND> VisibleTaskbars() {
    std::vector<HWND> taskbars;
    HWND primary = ::FindWindowW(L"Shell_traywnd", L"");
    if (primary && ::IsWindowVisible(primary)) taskbars.push_back(primary);
    for (HWND other = nullptr; (other = ::FindWindowExW(nullptr, other, L"Shell_SecondaryTrayWnd", nullptr));) {
        if (::IsWindowVisible(other)) taskbars.push_back(other);
    }
    return taskbars;
}

void SetTaskbarShown(HWND taskbar, bool shown) {
    ::SetWindowPos(taskbar, nullptr, 0, 0, 0, 0, (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | kTaskbarFlags);
}

}  // namespace

DesktopChanges::~DesktopChanges() {
    GiveBack();
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
    taken_ = true;
    HideNewTaskbars();
}

void DesktopChanges::HideNewTaskbars() {
    if (!taken_) return;
    for (HWND taskbar : VisibleTaskbars()) {
        const std::size_t count = hiddenCount_;
        if (count == hiddenTaskbars_.size()) return;  // more monitors than any desktop has
        if (std::find(hiddenTaskbars_.begin(), hiddenTaskbars_.begin() + count, taskbar) != hiddenTaskbars_.begin() + count) {
            continue;  // hidden already; Explorer has not got to it yet
        }
        hiddenTaskbars_[count] = taskbar;
        hiddenCount_ = count + 1;
        SetTaskbarShown(taskbar, false);
    }
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
    const std::size_t count = hiddenCount_;
    for (std::size_t i = 0; i < count; ++i) SetTaskbarShown(hiddenTaskbars_[i], true);
    // The pointer's display count and the window's input-method context can only be given back by
    // the taking thread. When it is stuck they stay as they are; the system drops both with the
    // thread and its window when the process ends.
    if (::GetCurrentThreadId() == takingThread_) {
        ::ShowCursor(TRUE);
        savedImeContext_ = ::ImmAssociateContext(window_, savedImeContext_);
    }
}

LRESULT DesktopChanges::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kGiveBack) {
        GiveBackHere();
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tessaro
