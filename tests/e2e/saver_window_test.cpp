// The saver window itself, and what it does to the desktop while it runs.

#include <atomic>

#include "saver_test_support.h"
#include "support/quick_cycle.h"
#include "test_window.h"

namespace tessaro::e2e {
namespace {

TEST(SaverWindow, CoversTheScreenBorderlessBlackTopmostWithoutATaskbarButton) {
    const SaverFolder folder;  // no slides: only the black background
    std::unique_ptr<Process> process;
    HWND window = StartSaver(folder, process);
    ASSERT_NE(window, nullptr);

    RECT rect{};
    ::GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, ScreenWidth());
    EXPECT_EQ(rect.bottom, ScreenHeight());
    const RECT client = ClientRectOnScreen(window);
    EXPECT_EQ(client.right - client.left, ScreenWidth()) << "no border eats into the client area";
    EXPECT_EQ(client.bottom - client.top, ScreenHeight());

    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW) << "a tool window has no taskbar button";
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
    EXPECT_TRUE(::IsZoomed(window)) << "shown, then maximised";
    EXPECT_EQ(WindowText(window), L"Form1");
    EXPECT_EQ(::GetForegroundWindow(), window);

    EXPECT_TRUE(WaitUntil([] { return ScreenAllBlack(Screenshot::Take()); }, kPatience)) << "the whole screen is black";
    EndWithKey(*process);
}

TEST(SaverWindow, HidesPointerAndTaskbarAndGivesBothBack) {
    HWND taskbar = Taskbar();
    ASSERT_TRUE(TaskbarVisible()) << "the test desktop needs a visible taskbar";
    ASSERT_TRUE(CursorShowing());
    RECT taskbarBefore{};
    ::GetWindowRect(taskbar, &taskbarBefore);

    const SaverFolder folder;
    std::unique_ptr<Process> process;
    ASSERT_NE(StartSaver(folder, process), nullptr);
    EXPECT_TRUE(WaitUntil([] { return !CursorShowing(); }, kPatience)) << "pointer still shown";
    EXPECT_FALSE(TaskbarVisible());
    EndWithKey(*process);

    EXPECT_TRUE(WaitUntil([] { return CursorShowing(); }, kPatience)) << "pointer not shown again";
    EXPECT_TRUE(WaitUntil([] { return TaskbarVisible(); }, kPatience)) << "taskbar not shown again";
    RECT taskbarAfter{};
    ::GetWindowRect(taskbar, &taskbarAfter);
    EXPECT_TRUE(::EqualRect(&taskbarBefore, &taskbarAfter)) << "the taskbar moved or changed size: now "
                                                          << taskbarAfter.left << "," << taskbarAfter.top << ","
                                                          << taskbarAfter.right << "," << taskbarAfter.bottom;
}

// Under Wine a process that ends gives back its share of the pointer's display count, so a
// missing show can only be seen while the saver is still alive. The saver says why it ends once
// it has given the desktop back; run with this test as its debugger, it waits there while the
// test looks at the pointer.
TEST(SaverWindow, ShowsThePointerAgainBeforeItEnds) {
    ASSERT_TRUE(CursorShowing());
    const SaverFolder folder;
    std::atomic<int> showingAtTheEnd{-1};
    const auto process = folder.StartTraced(L"/s", [&](const std::wstring& line) {
        if (line == L"Tessaro: the saver ends: a key was pressed") showingAtTheEnd = CursorShowing();
    });
    ASSERT_NE(process->WaitForWindow(kSaverClass, kPatience), nullptr);
    ASSERT_TRUE(WaitUntil([] { return !CursorShowing(); }, kPatience)) << "the saver did not hide the pointer";
    PressKey('A');
    ASSERT_TRUE(process->WaitForExit(kPatience));
    EXPECT_EQ(showingAtTheEnd, 1) << (showingAtTheEnd < 0 ? "the saver did not say why it ended" : "the pointer was still hidden");
}

TEST(SaverWindow, LeavesATaskbarThatWasHiddenHidden) {
    HWND taskbar = Taskbar();
    ASSERT_NE(taskbar, nullptr);
    ::ShowWindow(taskbar, SW_HIDE);
    ASSERT_TRUE(WaitUntil([] { return !TaskbarVisible(); }, kPatience));

    const SaverFolder folder;
    std::unique_ptr<Process> process;
    ASSERT_NE(StartSaver(folder, process), nullptr);
    EndWithKey(*process);
    EXPECT_FALSE(WaitUntil([] { return TaskbarVisible(); }, kQuietPeriod)) << "the saver showed a taskbar the user had hidden";
    ::ShowWindow(taskbar, SW_SHOWNA);
}

TEST(SaverWindow, IsOnTopAgainAfterEachTick) {
    const SaverFolder folder(kQuickCycleProgram);
    std::unique_ptr<Process> process;
    HWND saver = StartSaver(folder, process);
    ASSERT_NE(saver, nullptr);
    ExpectOnTopAgainAfterEachTick(saver, POINT{ScreenWidth() / 2, ScreenHeight() / 2});
    EndWithKey(*process);
}

}  // namespace
}  // namespace tessaro::e2e
