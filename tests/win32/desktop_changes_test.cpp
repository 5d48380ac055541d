// What the saver takes from the desktop comes back once, whichever thread gives it back: the
// pointer's display count and the input-method context on the thread that took them.

#include "saver/desktop_changes.h"

#include <gtest/gtest.h>

#include <thread>

#include "test_window.h"

namespace tessaro {
namespace {

using e2e::TestWindow;

// The calling thread's pointer display count.
int CursorCount() {
    const int count = ::ShowCursor(TRUE) - 1;
    ::ShowCursor(FALSE);
    return count;
}

HIMC ImeContextOf(HWND window) {
    const HIMC context = ::ImmGetContext(window);
    ::ImmReleaseContext(window, context);
    return context;
}

// A saver-like window on the calling thread and a stand-in taskbar that FindWindow finds first.
class DesktopChangesTest : public testing::Test {
protected:
    void SetUp() override {
        window_ = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        ASSERT_EQ(::FindWindowW(L"Shell_traywnd", L""), taskbar_.Handle());
        ASSERT_TRUE(taskbar_.Visible());
        cursorBefore_ = CursorCount();
        imeBefore_ = ImeContextOf(window_);
        ASSERT_NE(imeBefore_, nullptr) << "the window needs a context of its own to give back";
    }
    void TearDown() override { ::DestroyWindow(window_); }

    void ExpectTaken() const {
        EXPECT_EQ(CursorCount(), cursorBefore_ - 1) << "the pointer is not hidden";
        EXPECT_EQ(ImeContextOf(window_), nullptr) << "the input-method context is still attached";
        // The taskbar's thread hides and shows it when it gets to it; Take and GiveBack do not wait.
        EXPECT_TRUE(e2e::WaitUntil([&] { return !taskbar_.Visible(); }, e2e::kPatience)) << "the taskbar is not hidden";
    }
    void ExpectGivenBack() const {
        EXPECT_EQ(CursorCount(), cursorBefore_) << "the pointer's display count is not back where it was";
        EXPECT_EQ(ImeContextOf(window_), imeBefore_) << "the input-method context is not back";
        EXPECT_TRUE(e2e::WaitUntil([&] { return taskbar_.Visible(); }, e2e::kPatience)) << "the taskbar is not back";
    }

    HWND window_ = nullptr;
    TestWindow taskbar_{L"Shell_TrayWnd", RECT{0, 0, 1, 1}};
    int cursorBefore_ = 0;
    HIMC imeBefore_ = nullptr;
};

TEST_F(DesktopChangesTest, TakesPointerInputMethodAndTaskbarAndGivesThemBackOnce) {
    DesktopChanges desktop;
    desktop.GiveBack();  // nothing taken yet: nothing to give
    EXPECT_EQ(CursorCount(), cursorBefore_);
    desktop.Take(window_);
    ExpectTaken();
    desktop.GiveBack();
    ExpectGivenBack();
    desktop.GiveBack();
    ExpectGivenBack();
}

// A monitor plugged in while the saver runs brings a taskbar of its own, hidden once the saver
// hears of the change, and shown again with the others.
TEST_F(DesktopChangesTest, ATaskbarOfAMonitorPluggedInLaterIsHiddenAndGivenBack) {
    DesktopChanges desktop;
    desktop.Take(window_);
    const TestWindow plugged(L"Shell_SecondaryTrayWnd", RECT{1024, 0, 1025, 1});
    ASSERT_TRUE(plugged.Visible());
    desktop.HideNewTaskbars();
    EXPECT_TRUE(e2e::WaitUntil([&] { return !plugged.Visible(); }, e2e::kPatience)) << "the new taskbar is not hidden";
    desktop.GiveBack();
    ExpectGivenBack();
    EXPECT_TRUE(e2e::WaitUntil([&] { return plugged.Visible(); }, e2e::kPatience)) << "the new taskbar is not back";
}

// A crash on a worker thread: the taking thread answers and gives everything back itself.
TEST_F(DesktopChangesTest, AnotherThreadHasTheTakingThreadGiveItBack) {
    DesktopChanges desktop;
    desktop.Take(window_);
    std::atomic<bool> done{false};
    std::thread crashing([&] {
        desktop.GiveBack();
        done = true;
    });
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            MSG message;
            ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // answers a message sent meanwhile
            return done.load();
        },
        e2e::kPatience, e2e::Milliseconds(1)));
    crashing.join();
    ExpectGivenBack();
}

// A crash while the taking thread is stuck: after waiting for it, the crashing thread gives the
// taskbar back. The pointer's count and the input-method context stay with the stuck thread, which
// alone can give them back, and the late answer finds nothing left to do.
TEST_F(DesktopChangesTest, WhenTheTakingThreadDoesNotAnswerTheCallerGivesTheTaskbarBack) {
    DesktopChanges desktop;
    desktop.Take(window_);
    std::thread crashing([&] { desktop.GiveBack(); });
    crashing.join();  // this thread answers no message meanwhile
    EXPECT_TRUE(e2e::WaitUntil([&] { return taskbar_.Visible(); }, e2e::kPatience)) << "the taskbar is not back";
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    EXPECT_EQ(CursorCount(), cursorBefore_ - 1);
    EXPECT_EQ(ImeContextOf(window_), nullptr);
}

}  // namespace
}  // namespace tessaro
