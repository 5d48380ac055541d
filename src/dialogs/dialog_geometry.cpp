#include "dialog_geometry.h"

#include "resource.h"
#include "../win32/dpi.h"

namespace tessaro {

int DialogDpi(HWND dialog) { return DpiFunctions::System().WindowDpi(dialog); }

void PlaceControl(HWND dialog, int controlId, TwipsRect design, int dpi) {
    const PixelBox box = ToPixels(design, dpi);
    ::SetWindowPos(::GetDlgItem(dialog, controlId), nullptr, box.left, box.top, box.width, box.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void SizeAndCentre(HWND dialog, int clientWidthTwips, int clientHeightTwips, int dpi, const RECT& area) {
    const RECT client{0, 0, TwipsToPixels(clientWidthTwips, dpi), TwipsToPixels(clientHeightTwips, dpi)};
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_EXSTYLE));
    const RECT frame = DpiFunctions::System().WindowRectForClient(client, style, ::GetMenu(dialog) != nullptr, exStyle, dpi);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = area.left + (area.right - area.left - width) / 2;
    const int top = area.top + (area.bottom - area.top - height) / 2;
    ::SetWindowPos(dialog, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT ScreenRect() {
    return RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

UniqueIcon LoadApplicationIcon(HINSTANCE instance, int size) {
    return UniqueIcon(static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(IDI_TESSARO), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

}  // namespace tessaro
