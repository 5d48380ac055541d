#pragma once
// The saver window: black, borderless, topmost, covering the primary monitor, showing one slide
// after another until the user presses a key, clicks or clearly moves the mouse. Every other
// monitor gets a black MonitorCover, whose input comes here too, and the covering follows the
// monitors as they change. It decides nothing itself: it turns messages into events for the
// SlideShow and carries out its answers, while worker threads render the slides.

#include <windows.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "crash_guard.h"
#include "desktop_changes.h"
#include "monitor_cover.h"
#include "show/render_workers.h"
#include "show/saver_input.h"
#include "show/slide_show.h"
#include "win32/unique_resource.h"

namespace tessaro {

class RenderMailbox;

// What sets one build of the saver apart from another: how long a slide stays, and what decodes
// the slides (made on each worker's thread).
struct SaverBuild {
    std::chrono::milliseconds slideInterval;
    SlideWorker::MakeDecoder makeDecoder;
};

// Never shown, as the window has no title bar; the system and other programs see it.
inline constexpr wchar_t kSaverWindowTitle[] = L"Form1";

class SaverWindow {
public:
    SaverWindow(std::wstring applicationFolder, SaverBuild build);
    SaverWindow(const SaverWindow&) = delete;
    SaverWindow& operator=(const SaverWindow&) = delete;

    // Asks for the first slide, creates the window (still hidden) and takes the desktop over.
    bool Create(HINSTANCE instance);
    // Covers the other monitors, then shows the window and maximises it (to the whole primary
    // monitor). It is black until the first slide is ready, and input ends the saver from now on.
    void Show();

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    // What the saver does to the desktop once its window exists: the back buffer, the screen-saving
    // flag, the pointer, input method and taskbar, the topmost place.
    void TakeOverDesktop();
    [[noreturn]] void EndSaver();
    void OnSlideTimer();
    // Input to any of the saver's windows; false for any other message.
    bool TakeInput(HWND window, UINT message, LPARAM lParam);
    void ReadScreenSize();
    void MakeBackBuffer();
    void CoverOtherMonitors();
    void FollowDisplay();
    void TakeRenderedSlides();
    void CarryOut(const SlideShow::Actions& actions, const SlideFrame* frame);
    void Present(const Bitmap* screen);
    void Paint();

    friend struct WindowThunk;  // sets hwnd_
    std::wstring applicationFolder_;
    std::chrono::milliseconds slideInterval_;
    HINSTANCE instance_ = nullptr;
    HWND hwnd_ = nullptr;
    std::vector<std::unique_ptr<MonitorCover>> covers_;  // one for each monitor besides the primary

    SlideShow slideShow_;
    std::shared_ptr<RenderMailbox> mailbox_;  // shared with the worker threads
    RenderWorkers workers_;

    DesktopChanges desktop_;  // pointer, input-method context and taskbar, taken when the window is made
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
