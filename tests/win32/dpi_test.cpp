// The DPI functions the program looks up at run time, with and without the system's own.

#include "win32/dpi.h"

#include <gtest/gtest.h>

#include "win32/unique_resource.h"

namespace tessaro {
namespace {

int ScreenDpi() {
    const WindowDc screen(nullptr);
    return ::GetDeviceCaps(screen.get(), LOGPIXELSX);
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// As on Windows 7 and 8.1, where user32 has none of the per-monitor functions.
TEST(DpiFunctions, WithoutThePerMonitorFunctionsTheSystemDpiAnswers) {
    const DpiFunctions windows7(nullptr);
    HWND desktop = ::GetDesktopWindow();
    EXPECT_EQ(windows7.WindowDpi(desktop), ScreenDpi());
    for (int index : {SM_CXICON, SM_CXSMICON, SM_CYCAPTION}) {
        EXPECT_EQ(windows7.SystemMetric(index, 192), ::GetSystemMetrics(index)) << "metric " << index;
    }
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    RECT expected{0, 0, 433, 73};
    ::AdjustWindowRectEx(&expected, style, TRUE, WS_EX_APPWINDOW);
    EXPECT_TRUE(SameRect(windows7.WindowRectForClient({0, 0, 433, 73}, style, true, WS_EX_APPWINDOW, 192), expected));
}

// Wine, like Windows 10, has them all: the answers follow the DPI asked for.
TEST(DpiFunctions, UsesThePerMonitorFunctionsWhereTheSystemHasThem) {
    const DpiFunctions& system = DpiFunctions::System();
    ASSERT_EQ(system.WindowDpi(::GetDesktopWindow()), 96) << "the test session runs at 96 DPI";
    EXPECT_EQ(system.SystemMetric(SM_CXICON, 96), 32);
    EXPECT_EQ(system.SystemMetric(SM_CXICON, 192), 64);
    EXPECT_EQ(system.SystemMetric(SM_CXSMICON, 144), 24);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const RECT at96 = system.WindowRectForClient({0, 0, 433, 73}, style, false, 0, 96);
    const RECT at192 = system.WindowRectForClient({0, 0, 866, 146}, style, false, 0, 192);
    EXPECT_LT(at192.top, at96.top) << "a taller caption at 192 DPI";
}

}  // namespace
}  // namespace tessaro
