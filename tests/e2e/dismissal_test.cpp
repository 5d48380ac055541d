// What ends the saver: any key, any button, a clear movement; and what does not.

#include "saver_test_support.h"
#include "support/quick_cycle.h"

namespace tessaro::e2e {
namespace {

constexpr std::uint32_t kSlideColour = 0xB03A2E;

TEST(Dismissal, AnyKeyEndsTheSaver) {
    const SaverFolder folder;
    const WORD keys[] = {'A', VK_SPACE, VK_RETURN, VK_ESCAPE, VK_SHIFT, VK_CONTROL, VK_MENU, VK_F10, VK_F1, VK_NUMPAD5, VK_DOWN};
    for (WORD key : keys) {
        SCOPED_TRACE(testing::Message() << "virtual key " << key);
        std::unique_ptr<Process> process;
        ASSERT_NE(StartSaver(folder, process), nullptr);
        EndWithKey(*process, key);
    }
}

TEST(Dismissal, AnyButtonEndsTheSaverOverThePictureOrTheMargin) {
    struct Case {
        const char* what;
        POINT at;
        DWORD down, up, data;
    };
    const Case cases[] = {
        {"left over the picture", {512, 384}, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0},
        {"left over the margin", {20, 20}, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0},
        {"right", {512, 384}, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 0},
        {"middle", {20, 700}, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, 0},
        {"x button", {512, 384}, MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON1},
    };
    const SaverFolder folder;
    folder.AddSolidSlide(1, 400, 300, kSlideColour);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MoveMouseTo(c.at.x, c.at.y);
        std::unique_ptr<Process> process;
        ASSERT_NE(StartSaver(folder, process, kSlideColour), nullptr);
        ClickMouse(c.down, c.up, c.data);
        EXPECT_TRUE(process->WaitForExit(kPatience));
    }
}

TEST(Dismissal, MovementEndsOnlyOutsideTheDeadZoneInBothDirections) {
    struct Case {
        const char* what;
        std::vector<MoveStep> steps;
    };
    // The pointer rests at 100, 100 when the saver starts: that is the reference point.
    const Case cases[] = {
        {"bounds included, one axis at a time, then both out",
         {{{105, 105}, false}, {{95, 95}, false}, {{106, 100}, false}, {{100, 500}, false}, {{105, 300}, false},
          {{300, 95}, false}, {{95, 700}, false}, {{1000, 105}, false}, {{100, 100}, false}, {{106, 106}, true}}},
        {"out to the upper right", {{{106, 94}, true}}},
        {"out to the lower left", {{{94, 106}, true}}},
        {"long moves along one axis add nothing", {{{1000, 100}, false}, {{100, 760}, false}, {{94, 94}, true}}},
    };
    const SaverFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RestPointerAt(100, 100);
        std::unique_ptr<Process> process;
        ASSERT_NE(StartSaver(folder, process), nullptr);
        SettleReference(*process);
        MakeMoves(*process, c.steps);
    }
}

TEST(Dismissal, FirstMoveAfterStartOnlyRecordsTheReference) {
    const SaverFolder folder;
    RestPointerAt(500, 400);
    std::unique_ptr<Process> process;
    ASSERT_NE(StartSaver(folder, process), nullptr);
    SettleReference(*process);
    MoveAndWait(*process, 503, 404);
    EXPECT_FALSE(process->WaitForExit(kQuietPeriod)) << "a move within the dead zone of where the pointer rested";
    EXPECT_TRUE(MoveUntilEnded(*process, 506, 394));
}

TEST(Dismissal, TheReferenceIsTakenAfreshAfterASlideChange) {
    constexpr std::uint32_t kSecond = 0x1E8449;
    const SaverFolder folder(kQuickCycleProgram);
    folder.AddSolidSlide(1, ScreenWidth(), ScreenHeight(), kSlideColour);
    folder.AddSolidSlide(2, ScreenWidth(), ScreenHeight(), kSecond);  // then nothing: no later re-arming
    RestPointerAt(100, 100);
    std::unique_ptr<Process> process;
    ASSERT_NE(StartSaver(folder, process, kSlideColour), nullptr);
    SettleReference(*process);
    MoveAndWait(*process, 104, 104);  // within the dead zone of where the pointer rested at start
    ASSERT_EQ(WaitForPixel(512, 384, kSecond, kPatience), kSecond);
    ASSERT_TRUE(process->WaitForInputIdle(kPatience)) << "the slide change is over";
    // Measured from the first reference this would end the saver; after the slide change the
    // reference is where the pointer first moves to (or, should a late copy of the last move
    // come first, 104, 104, within the dead zone of it).
    MoveAndWait(*process, 109, 109);
    EXPECT_FALSE(process->WaitForExit(kQuietPeriod));
    EXPECT_TRUE(MoveUntilEnded(*process, 116, 116));
}

}  // namespace
}  // namespace tessaro::e2e
