// Runs the end-to-end tests. Before each test the desktop is put back as a test expects it, so
// that one failed test (a saver killed while the taskbar was hidden) does not fail the next.

#include <gtest/gtest.h>

#include "harness.h"

namespace {

class DesktopReset : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        HWND taskbar = tessaro::e2e::Taskbar();
        if (taskbar && !::IsWindowVisible(taskbar)) ::ShowWindow(taskbar, SW_SHOWNA);
        tessaro::e2e::MoveMouseTo(tessaro::e2e::ScreenWidth() - 1, tessaro::e2e::ScreenHeight() / 2);
    }
};

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new DesktopReset);
    return RUN_ALL_TESTS();
}
