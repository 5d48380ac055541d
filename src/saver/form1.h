#pragma once
// The saver window: black, borderless, topmost, covering the primary monitor, showing one slide
// after another until the user presses a key, clicks or clearly moves the mouse. It decides
// nothing itself: it feeds events to the SlideShow and carries out its answers, while a worker
// thread renders the slides.

#include <windows.h>

#include <memory>
#include <string>

#include "crash_guard.h"
#include "desktop_changes.h"
#include "slide_show.h"
#include "slide_worker.h"
#include "../win32/unique_resource.h"

namespace tessaro {

class RenderMailbox;

class Form1 {
public:
    explicit Form1(std::wstring applicationFolder);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Asks for the first slide, creates the window (still hidden) and runs its load step.
    bool Create(HINSTANCE instance);
    // Shows the window, then maximises it (to the whole monitor). It is black until the first
    // slide is ready, and input ends the saver from now on.
    void Show();

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void Load();
    [[noreturn]] void Unload();
    void Timer1_Timer();
    void SlidesRendered();
    void Carry(const SlideShow::Actions& actions, const SlideFrame* frame);
    void StartWorker();
    void Present(const Bitmap* screen);
    void Paint();

    friend struct WindowThunk;  // sets hwnd_
    std::wstring applicationFolder_;
    HWND hwnd_ = nullptr;

    SlideShow slideShow_;
    std::shared_ptr<RenderMailbox> mailbox_;  // shared with the worker threads
    std::unique_ptr<SlideWorker> worker_;

    DesktopChanges desktop_;  // pointer, input-method context and taskbar, taken in the load step
    CrashGuard crashGuard_{desktop_};

    // What the window shows: a screen-sized DIB, painted with one blit.
    // The bitmap is declared first so that it outlives the DC it is selected into.
    UniqueBitmap backBuffer_;
    UniqueHdc backBufferDc_;
    void* backBufferBits_ = nullptr;  // null when the back buffer could not be made
    int screenWidth_ = 0;
    int screenHeight_ = 0;
};

}  // namespace tessaro
