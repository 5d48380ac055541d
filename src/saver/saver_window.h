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
#include <string_view>
#include <vector>

#include "crash_guard.h"
#include "desktop_changes.h"
#include "monitor_cover.h"
#include "saver_build.h"
#include "show/render_workers.h"
#include "show/slide_show.h"

namespace tessaro {

class RenderMailbox;

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
    // Gives the desktop back, says why the saver ends, and ends the process at once: every way
    // out of the saver comes here but a crash (CrashGuard).
    [[noreturn]] void End(std::wstring_view why);

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    // What the saver does to the desktop once its window exists: the screen-saving flag, the
    // pointer, input method and taskbars, the topmost place.
    void TakeOverDesktop();
    void OnSlideTimer();
    // Input to any of the saver's windows; false for any other message.
    bool TakeInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The primary monitor's size and colour profile.
    void ReadScreen();
    void CoverOtherMonitors();
    void FollowDisplay();
    void TakeRenderedSlides();
    void CarryOut(const SlideShow::Actions& actions, SlideFrame* frame);
    void TraceWorkerStartFailure() const;
    void Present(std::optional<SlideFrame> frame);
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

    DesktopChanges desktop_;  // pointer, input-method context and taskbars, taken when the window is made
    CrashGuard crashGuard_{desktop_};

    // What the window shows: the frame a worker finished, handed over whole and painted as it
    // is; black when there is none.
    std::optional<SlideFrame> shown_;
    int screenWidth_ = 0;
    int screenHeight_ = 0;
    std::shared_ptr<const ProfileBytes> monitorProfile_;
};

}  // namespace tessaro
