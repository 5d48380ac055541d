// The message loop ends with the quit code, and with a failure code of its own when
// GetMessageW fails.

#include "win32/message_loop.h"

#include <gtest/gtest.h>

namespace tessaro {
namespace {

TEST(MessageLoop, EndsWithTheQuitCode) {
    ::PostQuitMessage(7);
    EXPECT_EQ(RunMessageLoop(nullptr), 7);
}

TEST(MessageLoop, AFailedGetMessageEndsItWithTheFailureCode) {
    // A failing call leaves the message as it happens to be: here, a plausible-looking code.
    const auto failing = [](MSG* message, HWND, UINT, UINT) -> BOOL {
        message->message = WM_QUIT;
        message->wParam = 0x5A5A;
        return -1;
    };
    EXPECT_EQ(RunMessageLoop(nullptr, failing), kMessageLoopFailed);
}

}  // namespace
}  // namespace tessaro
