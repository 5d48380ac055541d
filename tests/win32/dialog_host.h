#pragma once
// Runs one of the program's dialogs inside this test program, on a thread of its own that serves
// as its GUI thread, so that the test thread can send it messages and read what only the owning
// process can read under Wine: its fonts and icons.

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "layout_printing.h"
#include "win32/unique_resource.h"

namespace tessaro {

class DialogHost {
public:
    // run creates the dialog and returns once it is closed.
    explicit DialogHost(std::function<void()> run);
    ~DialogHost();  // closes the dialog, if it is still open, and waits for run to return
    DialogHost(const DialogHost&) = delete;
    DialogHost& operator=(const DialogHost&) = delete;

    // The dialog, once it is visible; null if it does not appear.
    HWND Dialog() const { return dialog_; }

private:
    std::atomic<DWORD> threadId_{0};
    std::thread thread_;
    HWND dialog_ = nullptr;
};

// WM_DPICHANGED as the system sends it when the dialog moves to a monitor of another DPI.
void SendDpiChange(HWND dialog, int dpi, const RECT& suggested);

// A control's rectangle in its dialog's client area, as a PixelBox.
PixelBox ControlBox(HWND dialog, int controlId);

// The font a window draws its text with.
LOGFONTW FontOf(HWND window);

// The width of an icon's image in pixels.
int IconWidth(HICON icon);

}  // namespace tessaro
