#pragma once
// A black, borderless, topmost window over one monitor besides the primary, which the saver
// window covers itself. It shows nothing and decides nothing: what it receives goes to the saver
// window first, which ends the saver on input from any monitor.

#include <windows.h>

#include <functional>
#include <vector>

namespace tessaro {

class MonitorCover {
public:
    // Takes a message to any of the saver's windows; false when it is not input for the saver.
    using TakeInput = std::function<bool(HWND window, UINT message, WPARAM wParam, LPARAM lParam)>;

    static bool Register(HINSTANCE instance);

    // Shown at once, without taking the focus from the saver window.
    MonitorCover(HINSTANCE instance, const RECT& monitor, TakeInput takeInput);
    ~MonitorCover();
    MonitorCover(const MonitorCover&) = delete;
    MonitorCover& operator=(const MonitorCover&) = delete;

    // Moves it over the monitor, on top of every other window.
    void Cover(const RECT& monitor);
    // On top of every other window again.
    void BringToTop();

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend struct WindowThunk;  // sets hwnd_
    HWND hwnd_ = nullptr;
    TakeInput takeInput_;
};

// Every monitor but the primary, in physical pixels of the virtual screen.
std::vector<RECT> MonitorsBesidesThePrimary();

}  // namespace tessaro
