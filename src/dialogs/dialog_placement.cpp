#include "dialog_placement.h"

#include "resource.h"
#include "win32/dpi.h"

namespace tessaro {

int DialogDpi(HWND dialog) { return DpiFunctions::System().WindowDpi(dialog); }

void PlaceControl(HWND dialog, int controlId, const PixelBox& box) {
    ::SetWindowPos(::GetDlgItem(dialog, controlId), nullptr, box.left, box.top, box.width, box.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void SizeAndCentre(HWND dialog, int clientWidth, int clientHeight, int dpi, const RECT& area) {
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_EXSTYLE));
    const RECT frame = DpiFunctions::System().WindowRectForClient(RECT{0, 0, clientWidth, clientHeight}, style,
                                                                  ::GetMenu(dialog) != nullptr, exStyle, dpi);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = area.left + (area.right - area.left - width) / 2;
    const int top = area.top + (area.bottom - area.top - height) / 2;
    ::SetWindowPos(dialog, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TakeSuggestedRect(HWND dialog, LPARAM dpiChangedLParam) {
    const RECT& suggested = *reinterpret_cast<const RECT*>(dpiChangedLParam);
    ::SetWindowPos(dialog, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

int NewDpi(WPARAM dpiChangedWParam) { return LOWORD(dpiChangedWParam); }  // the horizontal DPI; both are equal

RECT ScreenRect() {
    return RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

bool FontFaceInstalled(const wchar_t* face, BYTE charset) {
    LOGFONTW query{};
    query.lfCharSet = charset;
    wcsncpy_s(query.lfFaceName, face, _TRUNCATE);
    const WindowDc screen(nullptr);
    bool found = false;
    ::EnumFontFamiliesExW(
        screen.get(), &query,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) -> int {
            *reinterpret_cast<bool*>(found) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

UniqueIcon LoadApplicationIcon(HINSTANCE instance, int size) {
    return UniqueIcon(static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(IDI_TESSARO), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

void DialogFont::Remember(HWND dialog, int dpi) {
    LOGFONTW font{};
    const auto handle = reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (!handle || !::GetObjectW(handle, sizeof(font), &font)) return;
    design_ = font;
    designDpi_ = dpi;
}

std::optional<LOGFONTW> DialogFont::At(int dpi) const {
    if (!design_) return std::nullopt;
    LOGFONTW font = *design_;
    font.lfHeight = ScaledFontHeight(design_->lfHeight, designDpi_, dpi);
    return font;
}

void DialogFont::Apply(HWND dialog, int dpi, int exceptControlId) {
    const std::optional<LOGFONTW> font = At(dpi);
    if (!font) return;
    UniqueFont scaled(::CreateFontIndirectW(&*font));
    if (!scaled) return;
    for (HWND control = ::GetWindow(dialog, GW_CHILD); control; control = ::GetWindow(control, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(control) == exceptControlId) continue;
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(scaled.get()), TRUE);
    }
    font_ = std::move(scaled);  // the controls no longer use the one it replaces
}

}  // namespace tessaro
