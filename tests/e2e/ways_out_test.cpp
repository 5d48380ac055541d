// Every way out of the saver gives the desktop back, the taskbars of other monitors included, and
// no other program's window holds the saver: neither one that takes the foreground, which the
// user's next key would reach unseen, nor a taskbar whose thread has stopped answering.

#include <functional>

#include "saver_test_support.h"
#include "test_window.h"

namespace tessaro::e2e {
namespace {

// Where another monitor's taskbar stands in: a window of its class, on this monitor.
constexpr RECT kSecondTaskbar{0, 0, 300, 30};

TEST(WaysOut, EachGivesThePointerAndEveryTaskbarBack) {
    struct Case {
        const char* what;
        std::function<void(HWND saver, const TestWindow& otherProgram)> end;
    };
    const Case cases[] = {
        {"a key", [](HWND, const TestWindow&) { PressKey('A'); }},
        {"the system asks the saver window to close", [](HWND saver, const TestWindow&) { ::PostMessageW(saver, WM_CLOSE, 0, 0); }},
        {"the saver's thread is told to quit",
         [](HWND saver, const TestWindow&) { ::PostThreadMessageW(::GetWindowThreadProcessId(saver, nullptr), WM_QUIT, 0, 0); }},
        {"another program takes the foreground", [](HWND, const TestWindow& otherProgram) { otherProgram.TakeForeground(); }},
    };
    ASSERT_TRUE(TaskbarVisible()) << "the test desktop needs a visible taskbar";
    const SaverFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TestWindow secondTaskbar(L"Shell_SecondaryTrayWnd", kSecondTaskbar, GRAY_BRUSH);
        const TestWindow reminder(L"TessaroTestReminder", RECT{100, 100, 400, 200});  // a program that pops up
        std::unique_ptr<Process> process;
        HWND saver = StartSaver(folder, process);
        ASSERT_NE(saver, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return !TaskbarVisible() && !secondTaskbar.Visible() && !CursorShowing(); }, kPatience))
            << "the saver did not take the desktop";
        c.end(saver, reminder);
        ASSERT_TRUE(process->WaitForExit(kPatience)) << "the saver did not end";
        EXPECT_EQ(process->ExitCode(), 0u);
        EXPECT_TRUE(WaitUntil([&] { return TaskbarVisible() && secondTaskbar.Visible() && CursorShowing(); }, kPatience))
            << "the desktop was not given back";
    }
}

// Explorer hung: its taskbars' thread answers nothing while the saver starts and ends.
TEST(WaysOut, AHungTaskbarHoldsTheSaverNeitherAtItsStartNorAtItsEnd) {
    // Made after the real taskbar, and topmost, a window of its class comes first in the z-order.
    TestWindow taskbar(L"Shell_TrayWnd", RECT{ScreenWidth() - 1, ScreenHeight() - 1, ScreenWidth(), ScreenHeight()});
    TestWindow secondTaskbar(L"Shell_SecondaryTrayWnd", kSecondTaskbar, GRAY_BRUSH);
    ASSERT_EQ(::FindWindowW(L"Shell_traywnd", L""), taskbar.Handle()) << "the saver would find the real taskbar";
    taskbar.Hold();
    secondTaskbar.Hold();

    const SaverFolder folder;
    std::unique_ptr<Process> process;
    ASSERT_NE(StartSaver(folder, process), nullptr) << "the hung taskbar held the saver's start";
    PressKey('A');
    EXPECT_TRUE(process->WaitForExit(300ms)) << "the hung taskbar held the saver's end";
    ASSERT_TRUE(process->WaitForExit(kPatience));

    // Once Explorer answers again it carries out what it was asked: hide, then show.
    taskbar.Release();
    secondTaskbar.Release();
    EXPECT_TRUE(WaitUntil([&] { return taskbar.Visible() && secondTaskbar.Visible(); }, kPatience));
}

}  // namespace
}  // namespace tessaro::e2e
