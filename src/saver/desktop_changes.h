#pragma once
// What the saver changes on the desktop while it runs, and gives back when it ends, however it
// ends, a crash included: the pointer hidden, the window's input-method context detached, the
// taskbars hidden (the primary monitor's, and from Windows 8 on one on each other monitor).
//
// The pointer's display count and the input-method context belong to the thread that took them,
// so that thread gives them back. A crash may come on any other thread: it then asks the taking
// thread through a small message-only window of its own, and gives back what it can itself when
// that thread does not answer.
//
// The taskbars belong to Explorer, which may be hung: they are hidden and shown without waiting
// for it, and come back first, being the only change that outlives the saver's process.

#include <windows.h>
#include <imm.h>

#include <array>
#include <atomic>

namespace tessaro {

class DesktopChanges {
public:
    DesktopChanges() = default;
    ~DesktopChanges();  // gives back what is still taken
    DesktopChanges(const DesktopChanges&) = delete;
    DesktopChanges& operator=(const DesktopChanges&) = delete;

    // On window's thread, once: hides the pointer, detaches the window's input-method context and
    // hides the taskbars that are visible (one the user hid stays hidden afterwards).
    void Take(HWND window);
    // On the same thread, once the monitors changed: hides the taskbar of a monitor plugged in
    // meanwhile, to be shown again like the others.
    void HideNewTaskbars();
    // From any thread, any number of times: the first call after Take gives everything back.
    void GiveBack();

    // How long another thread waits for the taking thread to give the desktop back: as long as the
    // system waits before it calls a window not responding.
    static constexpr DWORD kAnswerTimeoutMs = 5000;

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void GiveBackHere();

    friend struct WindowThunk;  // sets hwnd_
    HWND hwnd_ = nullptr;       // the message-only window, on the taking thread
    HWND window_ = nullptr;
    DWORD takingThread_ = 0;
    HIMC savedImeContext_ = nullptr;
    // Appended to by the taking thread and read by any: a taskbar is in place before it is counted.
    std::array<HWND, 32> hiddenTaskbars_{};
    std::atomic<std::size_t> hiddenCount_{0};
    std::atomic<bool> taken_{false};
};

}  // namespace tessaro
