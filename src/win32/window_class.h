#pragma once
// Routes window and dialog messages to the C++ object that owns the window. The object's
// address travels in the creation parameter and is kept in GWLP_USERDATA.

#include <windows.h>

namespace tessaro {

// Window must have: LRESULT HandleMessage(HWND, UINT, WPARAM, LPARAM).
template <typename Window>
LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->HandleMessage(window, message, wParam, lParam)
                : ::DefWindowProcW(window, message, wParam, lParam);
}

// Dialog must have: INT_PTR HandleMessage(HWND, UINT, WPARAM, LPARAM).
template <typename Dialog>
INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) ::SetWindowLongPtrW(dialog, GWLP_USERDATA, lParam);
    auto* self = reinterpret_cast<Dialog*>(::GetWindowLongPtrW(dialog, GWLP_USERDATA));
    return self ? self->HandleMessage(dialog, message, wParam, lParam) : FALSE;
}

}  // namespace tessaro
