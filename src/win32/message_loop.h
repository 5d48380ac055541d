#pragma once
// The program's one message loop, run once the saver window or the settings dialog exists.

#include <windows.h>

namespace tessaro {

// What the loop returns when GetMessageW fails: it can then no longer tell the quit code.
inline constexpr int kMessageLoopFailed = -1;

using GetMessageFunction = BOOL(WINAPI*)(MSG*, HWND, UINT, UINT);

// Dispatches the thread's messages, with the keys of modelessDialog (if any) handled by the
// dialog manager, until WM_QUIT; returns its exit code, or kMessageLoopFailed (and traces why).
int RunMessageLoop(HWND modelessDialog, GetMessageFunction getMessage = &::GetMessageW);

}  // namespace tessaro
