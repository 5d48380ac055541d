#pragma once
// Routes window and dialog messages to the C++ object that owns the window. The object's address
// travels in the creation parameter and is kept in GWLP_USERDATA. The object's hwnd_ holds the
// window's handle from the first message that carries the object (WM_NCCREATE, or WM_INITDIALOG
// for a dialog) until the last one, WM_NCDESTROY; then both the handle and the stored address
// are cleared, so nothing reaches an object whose window is gone.

#include <windows.h>

namespace tessaro {

// A window class needs: LRESULT HandleMessage(HWND, UINT, WPARAM, LPARAM) (INT_PTR for a
// dialog), a member HWND hwnd_, and `friend struct WindowThunk;`.
struct WindowThunk {
    template <typename Window>
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            Attach(window, static_cast<Window*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams));
        }
        auto* self = Attached<Window>(window);
        if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
        if (message != WM_NCDESTROY) return self->HandleMessage(window, message, wParam, lParam);
        Detach(window);
        const LRESULT result = self->HandleMessage(window, message, wParam, lParam);
        self->hwnd_ = nullptr;
        return result;
    }

    template <typename Dialog>
    static INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) Attach(dialog, reinterpret_cast<Dialog*>(lParam));
        auto* self = Attached<Dialog>(dialog);
        if (!self) return FALSE;
        if (message != WM_NCDESTROY) return self->HandleMessage(dialog, message, wParam, lParam);
        Detach(dialog);
        const INT_PTR result = self->HandleMessage(dialog, message, wParam, lParam);
        self->hwnd_ = nullptr;
        return result;
    }

private:
    template <typename Window>
    static void Attach(HWND window, Window* self) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        if (self) self->hwnd_ = window;
    }

    template <typename Window>
    static Window* Attached(HWND window) {
        return reinterpret_cast<Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    }

    static void Detach(HWND window) { ::SetWindowLongPtrW(window, GWLP_USERDATA, 0); }
};

// Registers a class of windows that are objects of Window, with the arrow pointer and a background.
template <typename Window>
bool RegisterWindowClass(HINSTANCE instance, const wchar_t* className, int stockBrush) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &WindowThunk::WindowProcedure<Window>;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(stockBrush));
    windowClass.lpszClassName = className;
    return ::RegisterClassExW(&windowClass) != 0;
}

}  // namespace tessaro
