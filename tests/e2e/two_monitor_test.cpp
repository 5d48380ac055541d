// The saver with two monitors: every monitor covered, input on either ends it, a new resolution
// of the primary followed. These tests run in the two-monitor session
// (tools/two-monitor-session.sh), once with the second monitor to the right of the primary and
// once to its left, at negative coordinates; they read the layout from the system.

#include <functional>
#include <sstream>

#include "saver_test_support.h"
#include "test_window.h"

namespace tessaro::e2e {
namespace {

constexpr std::uint32_t kSlideColour = 0x2E86C1;

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }
POINT Centre(const RECT& rect) { return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

// Empty when the area (virtual-screen coordinates) is black but for picture (coordinates within
// the area), which has the colour; otherwise what is off.
std::string OffPixels(const RECT& area, const PixelRect& picture = {}, std::uint32_t colour = kBlack) {
    const Screenshot shot = Screenshot::Take(area);
    int off = 0;
    std::ostringstream first;
    for (int y = 0; y < shot.Height(); ++y) {
        for (int x = 0; x < shot.Width(); ++x) {
            const bool inside = x >= picture.left && x < picture.right && y >= picture.top && y < picture.bottom;
            if (shot.At(x, y) != (inside ? colour : kBlack) && off++ == 0) {
                first << "pixel " << area.left + x << "," << area.top + y << " is " << std::hex << shot.At(x, y);
            }
        }
    }
    return off ? first.str() + " (" + std::to_string(off) + " pixels off)" : "";
}

// A new resolution of the primary monitor, for this session only (the registry keeps the old).
LONG ChangePrimaryMode(SIZE size) {
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmPelsWidth = static_cast<DWORD>(size.cx);
    mode.dmPelsHeight = static_cast<DWORD>(size.cy);
    return ::ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr);
}

// Gives the primary monitor the resolution of the registry again when the test ends, however.
struct PrimaryModeRestorer {
    PrimaryModeRestorer() = default;
    PrimaryModeRestorer(const PrimaryModeRestorer&) = delete;
    PrimaryModeRestorer& operator=(const PrimaryModeRestorer&) = delete;
    ~PrimaryModeRestorer() { ::ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr); }
};

class TwoMonitors : public testing::Test {
protected:
    void SetUp() override {
        const std::vector<RECT> monitors = MonitorRects();
        ASSERT_EQ(monitors.size(), 2u) << "the two-monitor session";
        primary_ = monitors[0];
        other_ = monitors[1];
        ASSERT_EQ(Width(primary_), kExampleScreenWidth);
        ASSERT_EQ(Height(primary_), kExampleScreenHeight);
        ASSERT_TRUE(other_.left == primary_.right || other_.right == primary_.left) << "side by side";
        ASSERT_NE(Width(other_), Width(primary_)) << "a second monitor of another size";
    }

    // x of a point on the other monitor, or on the primary, this far from the edge they share.
    int OtherX(int fromEdge) const { return other_.left == primary_.right ? other_.left + fromEdge : other_.right - 1 - fromEdge; }
    int PrimaryX(int fromEdge) const { return other_.left == primary_.right ? primary_.right - 1 - fromEdge : primary_.left + fromEdge; }

    RECT primary_{};
    RECT other_{};
    // Something for the saver to cover on every monitor: a light grey window over the virtual
    // screen, above every other window.
    const TestWindow desktop_{L"TessaroTestDesktop", VirtualScreen(), LTGRAY_BRUSH};
};

TEST_F(TwoMonitors, EveryMonitorIsBlackButForTheSlideOnThePrimaryPlacedAsBefore) {
    ForEachPlacementExample(kSlideColour, [&](const PlacementExample& c) {
        std::string off;
        ASSERT_TRUE(WaitUntil([&] { return (off = OffPixels(other_)).empty(); }, kPatience)) << "other monitor: " << off;
        EXPECT_EQ(OffPixels(primary_, c.pixels, kSlideColour), "");
    });
}

TEST_F(TwoMonitors, EachMonitorHasATopmostSaverWindowWithoutTaskbarButtonOrAltTabEntry) {
    const SaverFolder folder;
    std::unique_ptr<Process> process;
    ASSERT_NE(StartSaver(folder, process), nullptr);
    for (const RECT& monitor : {primary_, other_}) {
        SCOPED_TRACE(testing::Message() << "monitor at " << monitor.left << "," << monitor.top);
        HWND window = ::WindowFromPoint(Centre(monitor));
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        EXPECT_EQ(owner, process->Id()) << "another program's window is on top";
        RECT rect{};
        ::GetWindowRect(window, &rect);
        EXPECT_TRUE(::EqualRect(&rect, &monitor)) << "a saver window at " << rect.left << "," << rect.top << ","
                                                  << rect.right << "," << rect.bottom;
    }
    const std::vector<HWND> windows = process->Windows();
    EXPECT_EQ(windows.size(), 2u);
    for (HWND window : windows) {
        const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
        EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
        EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW) << "neither in the taskbar nor in Alt+Tab";
        EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
    }
    EndWithKey(*process);
}

TEST_F(TwoMonitors, EveryMonitorIsOnTopAgainAfterEachTick) {
    const SaverFolder folder(L"TessaroQuickCycle.scr");
    std::unique_ptr<Process> process;
    ASSERT_NE(StartSaver(folder, process), nullptr);
    for (const RECT& monitor : {primary_, other_}) {
        SCOPED_TRACE(testing::Message() << "monitor at " << monitor.left << "," << monitor.top);
        ExpectOnTopAgainAfterEachTick(::WindowFromPoint(Centre(monitor)), Centre(monitor));
    }
    EndWithKey(*process);
}

TEST_F(TwoMonitors, AKeyOrAnyButtonWithThePointerOnTheOtherMonitorEndsTheSaver) {
    struct Case {
        const char* what;
        bool focusOnTheOtherMonitor;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"left button", false, [] { ClickMouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP); }},
        {"right button", false, [] { ClickMouse(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP); }},
        {"middle button", false, [] { ClickMouse(MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP); }},
        {"x button", false, [] { ClickMouse(MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON2); }},
        {"a key", false, [] { PressKey('A'); }},
        {"a key, with the focus on the other monitor's window", true, [] { PressKey(VK_SPACE); }},
    };
    const SaverFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RestPointerAt(Centre(other_).x, Centre(other_).y);
        std::unique_ptr<Process> process;
        ASSERT_NE(StartSaver(folder, process), nullptr);
        SettleReference(*process);
        if (c.focusOnTheOtherMonitor) {
            HWND cover = ::WindowFromPoint(Centre(other_));
            ::SetForegroundWindow(cover);
            ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == cover; }, kPatience));
        }
        c.act();
        EXPECT_TRUE(process->WaitForExit(kPatience));
    }
}

TEST_F(TwoMonitors, MovementIsJudgedFromOneReferencePointAcrossTheMonitors) {
    struct Case {
        const char* what;
        POINT rest;  // the reference point
        std::vector<MoveStep> steps;
    };
    constexpr int y = 300;
    const Case cases[] = {
        {"the dead zone on the other monitor, bounds included",
         {OtherX(100), y},
         {{{OtherX(105), y + 5}, false}, {{OtherX(95), y - 5}, false}, {{OtherX(106), y + 6}, true}}},
        {"long moves along one axis onto the primary and back add nothing",
         {OtherX(100), y},
         {{{PrimaryX(400), y + 3}, false}, {{OtherX(100), y + 250}, false}, {{PrimaryX(400), y - 250}, true}}},
        {"a short move across the edge between the monitors is short",
         {OtherX(2), y},
         {{{PrimaryX(2), y + 100}, false}, {{PrimaryX(3), y + 100}, true}}},
        {"and so is one back",
         {PrimaryX(2), y},
         {{{OtherX(2), y - 100}, false}, {{OtherX(3), y + 100}, true}}},
    };
    const SaverFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RestPointerAt(c.rest.x, c.rest.y);
        std::unique_ptr<Process> process;
        ASSERT_NE(StartSaver(folder, process), nullptr);
        SettleReference(*process);
        MakeMoves(*process, c.steps);
    }
}

TEST_F(TwoMonitors, AClickOnTheOtherMonitorGivesTheDesktopBackAsItWas) {
    // A stand-in taskbar along the bottom of the other monitor, darker than the desktop.
    const TestWindow taskbar(L"Shell_TrayWnd", RECT{other_.left, other_.bottom - 30, other_.right, other_.bottom}, GRAY_BRUSH);
    ASSERT_EQ(::FindWindowW(L"Shell_traywnd", L""), taskbar.Handle()) << "the saver would find another taskbar";
    const Screenshot before = Screenshot::Take(other_);

    RestPointerAt(Centre(other_).x, Centre(other_).y);
    const SaverFolder folder;
    std::unique_ptr<Process> process;
    ASSERT_NE(StartSaver(folder, process), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return OffPixels(other_).empty(); }, kPatience)) << "the other monitor is not covered";
    EXPECT_TRUE(WaitUntil([&] { return !taskbar.Visible(); }, kPatience));
    EXPECT_FALSE(CursorShowing());

    ClickMouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(process->WaitForExit(kPatience));
    EXPECT_TRUE(WaitUntil([&] { return taskbar.Visible(); }, kPatience));
    EXPECT_TRUE(CursorShowing());
    EXPECT_TRUE(WaitUntil([&] { return Screenshot::Take(other_) == before; }, kPatience))
        << "the other monitor does not show what it showed before";
}

// The saver's own windows do not count as another program taking the foreground.
TEST_F(TwoMonitors, TheCoverOfTheOtherMonitorBecomingActiveKeepsTheSaver) {
    const SaverFolder folder;
    std::unique_ptr<Process> process;
    ASSERT_NE(StartSaver(folder, process), nullptr);
    HWND cover = process->WaitForWindow(L"TessaroMonitorCover", kPatience);
    ASSERT_NE(cover, nullptr);
    ::SetForegroundWindow(cover);
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == cover; }, kPatience));
    EXPECT_FALSE(process->WaitForExit(kQuietPeriod)) << "the saver ended when its own window became active";
    EndWithKey(*process);
}

// Runs last: it changes the primary monitor's mode, and puts it back however it ends.
TEST_F(TwoMonitors, FollowsANewResolutionOfThePrimaryWhileItRuns) {
    struct Case {
        SIZE mode;
        PixelRect picture;  // of an upright 400 x 600 picture
    };
    const Case cases[] = {
        {{800, 600}, {200, 0, 600, 600}},     // not smaller than the screen: fitted to its height
        {{1024, 768}, {312, 84, 712, 684}},  // smaller both ways: natural size, centred
    };
    const SaverFolder folder;
    folder.AddSolidSlide(1, 400, 600, kSlideColour);
    RestPointerAt(Centre(primary_).x, Centre(primary_).y);
    std::unique_ptr<Process> process;
    ASSERT_NE(StartSaver(folder, process, kSlideColour), nullptr);
    SettleReference(*process);
    const PrimaryModeRestorer restorer;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mode.cx << " x " << c.mode.cy);
        ASSERT_EQ(ChangePrimaryMode(c.mode), DISP_CHANGE_SUCCESSFUL);
        const std::vector<RECT> monitors = MonitorRects();
        ASSERT_EQ(monitors.size(), 2u);
        ASSERT_EQ(Width(monitors[0]), c.mode.cx);
        ASSERT_EQ(Height(monitors[0]), c.mode.cy);
        std::string off;
        EXPECT_TRUE(WaitUntil([&] { return (off = OffPixels(monitors[0], c.picture, kSlideColour) + OffPixels(monitors[1])).empty(); },
                              kPatience))
            << off;
        EXPECT_TRUE(process->Running());
    }
    EndWithKey(*process);
}

}  // namespace
}  // namespace tessaro::e2e
