// The floor of the saver's launch: a bare topmost window over the screen, made and shown the way
// the saver's is, by a program that imports nothing beyond what a window needs. Its first
// WM_PAINT fills it with one colour, the colour the benchmark waits for (0xRRGGBB in hex on the
// command line; black without one). It ends on a key press.
//
//   bench_bare_window.exe [RRGGBB]

#include <windows.h>

#include <cwchar>

namespace {

COLORREF colour = RGB(0, 0, 0);

LRESULT CALLBACK BareWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            ::TerminateProcess(::GetCurrentProcess(), 0);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = ::BeginPaint(window, &paint);
            ::SetDCBrushColor(dc, colour);
            ::FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
            ::EndPaint(window, &paint);
            return 0;
        }
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    const unsigned long rgb = std::wcstoul(commandLine, nullptr, 16);
    colour = RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &BareWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"TessaroBenchBareWindow";
    ::RegisterClassExW(&windowClass);
    HWND window = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"", WS_POPUP, 0, 0,
                                    ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                    instance, nullptr);
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::ShowWindow(window, SW_MAXIMIZE);
    ::UpdateWindow(window);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
    return 0;
}
