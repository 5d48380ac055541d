#include "message_loop.h"

#include "diagnostics.h"

namespace tessaro {

int RunMessageLoop(HWND modelessDialog, GetMessageFunction getMessage) {
    MSG message{};
    for (;;) {
        const BOOL got = getMessage(&message, nullptr, 0, 0);
        if (got == -1) {  // message holds nothing meaningful
            TraceFailure(L"getting the thread's messages", L"the message loop", LastErrorResult());
            return kMessageLoopFailed;
        }
        if (!got) return static_cast<int>(message.wParam);  // WM_QUIT
        // Tab, Enter, Esc and access keys of the settings dialog.
        if (modelessDialog && ::IsDialogMessageW(modelessDialog, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

}  // namespace tessaro
