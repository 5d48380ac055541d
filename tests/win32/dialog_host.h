#pragma once
// Runs one of the program's dialogs inside this test program, on a thread of its own that serves
// as its GUI thread, so that the test thread can send it messages and read what only the owning
// process can read under Wine: its fonts and icons.

#include <windows.h>

#include <atomic>
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

// The monitor DPIs the tests move a dialog to, in turn, each with the window rectangle the
// system suggests for it.
struct DpiChange {
    int dpi;
    RECT suggested;
};
inline constexpr DpiChange kDpiChanges[] = {
    {144, {100, 80, 780, 420}}, {192, {40, 30, 960, 460}}, {120, {90, 70, 650, 360}}, {96, {300, 200, 720, 430}}};

// Sends WM_DPICHANGED as the system does when the dialog moves to a monitor of another DPI, and
// expects the dialog to take the suggested rectangle.
void ChangeDpi(HWND dialog, const DpiChange& change);

// A control's rectangle in its dialog's client area, as a PixelBox.
PixelBox ControlBox(HWND dialog, int controlId);

// The font a window draws its text with.
LOGFONTW FontOf(HWND window);

// The width of an icon's image in pixels.
int IconWidth(HICON icon);

}  // namespace tessaro
