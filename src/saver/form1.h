#pragma once
// The saver window: black, borderless, topmost, covering the primary monitor, showing one slide
// after another until the user presses a key, clicks or clearly moves the mouse. Every other
// monitor gets a black MonitorCover, whose input comes here too, and the covering follows the
// monitors as they change. It decides nothing itself: it feeds events to the SlideShow and
// carries out its answers, while a worker thread renders the slides.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "crash_guard.h"
#include "desktop_changes.h"
#include "monitor_cover.h"
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
    // Covers the other monitors, then shows the window and maximises it (to the whole primary
    // monitor). It is black until the first slide is ready, and input ends the saver from now on.
    void Show();

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void Load();
    [[noreturn]] void Unload();
    void Timer1_Timer();
    // Input to any of the saver's windows; false for any other message.
    bool TakeInput(HWND window, UINT message, LPARAM lParam);
    void ReadScreenSize();
    void MakeBackBuffer();
    void CoverOtherMonitors();
    void FollowDisplay();
    void SlidesRendered();
    void Carry(const SlideShow::Actions& actions, const SlideFrame* frame);
    void StartWorker();
    void Present(const Bitmap* screen);
    void Paint();

    friend struct WindowThunk;  // sets hwnd_
    std::wstring applicationFolder_;
    HINSTANCE instance_ = nullptr;
    HWND hwnd_ = nullptr;
    std::vector<std::unique_ptr<MonitorCover>> covers_;  // one for each monitor besides the primary

    SlideShow slideShow_;
    std::shared_ptr<RenderMailbox> mailbox_;  // shared with the worker threads
    std::unique_ptr<SlideWorker> worker_;
    // Threads of workers given up on while stuck, that have not ended yet.
    std::shared_ptr<std::atomic<int>> abandonedWorkers_ = std::make_shared<std::atomic<int>>(0);

    DesktopChanges desktop_;  // pointer, input-method context and taskbar, taken in the load step
    CrashGuard crashGuard_{desktop_};

    // What the window shows: a DIB the size of the primary monitor, painted with one blit.
    // The bitmap is declared first so that it outlives the DC it is selected into.
    UniqueBitmap backBuffer_;
    UniqueHdc backBufferDc_;
    void* backBufferBits_ = nullptr;  // null when the back buffer could not be made
    int screenWidth_ = 0;
    int screenHeight_ = 0;
};

}  // namespace tessaro
