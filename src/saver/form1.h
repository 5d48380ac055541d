#pragma once
// The saver window: black, borderless, topmost, covering the primary monitor, showing one slide
// after another until the user presses a key, clicks or clearly moves the mouse.

#include <windows.h>

#include <cstdint>
#include <string>

#include "movement_rule.h"
#include "slide_frame.h"
#include "../win32/unique_resource.h"

namespace tessaro {

class Form1 {
public:
    explicit Form1(std::wstring applicationFolder);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Creates the window (still hidden) and runs its load step, which shows the first slide.
    bool Create(HINSTANCE instance);
    // Shows the window, then maximises it (to the whole monitor).
    void Show();

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void Load();
    [[noreturn]] void Unload();
    void ShowNextSlide();
    void Timer1_Timer();
    void OnMouseMove(LPARAM lParam);
    void Present(const Bitmap* screen);
    void Paint();

    friend struct WindowThunk;  // sets hwnd_
    std::wstring applicationFolder_;
    HWND hwnd_ = nullptr;

    MovementRule movement_;  // mouseArmed, mouseX0, mouseY0
    HIMC savedImeContext_ = nullptr;
    HWND trayWnd_ = nullptr;
    bool trayWasVisible_ = false;
    std::int16_t nextSlide_ = 0;
    std::int16_t slideCount_ = 0;

    // What the window shows: a screen-sized DIB, painted with one blit.
    // The bitmap is declared first so that it outlives the DC it is selected into.
    UniqueBitmap backBuffer_;
    UniqueHdc backBufferDc_;
    void* backBufferBits_ = nullptr;  // null when the back buffer could not be made
    int screenWidth_ = 0;
    int screenHeight_ = 0;
};

}  // namespace tessaro
