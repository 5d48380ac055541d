#include "about_box.h"

#include <optional>
#include <string>

#include "dialog_design/about_texts.h"
#include "dialog_placement.h"
#include "resource.h"
#include "sysinfo_windows.h"
#include "win32/diagnostics.h"
#include "win32/module_info.h"
#include "win32/window_class.h"

namespace tessaro {
namespace {

constexpr wchar_t kTitleFontFace[] = L"ＭＳ Ｐゴシック";

}  // namespace

void AboutBox::ShowModal(HWND owner) {
    if (::DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_ABOUT_BOX), owner, &WindowThunk::DialogProcedure<AboutBox>,
                          reinterpret_cast<LPARAM>(this)) == -1) {
        TraceFailure(L"creating the dialog", L"the About box", LastErrorResult());
    }
}

bool AboutBox::FillTexts() {
    HRESULT failure = S_OK;
    const std::optional<VersionInfo> version = ReadVersionInfo(failure);
    if (!version) {
        TraceFailure(L"reading the version information", L"the About box", failure);
        return false;
    }
    ::SetWindowTextW(hwnd_, AboutCaption(version->productName).c_str());
    ::SetDlgItemTextW(hwnd_, IDC_VERSION, VersionLabel(version->major, version->minor, version->revision).c_str());
    ::SetDlgItemTextW(hwnd_, IDC_TITLE, version->productName.c_str());
    ::SetDlgItemTextW(hwnd_, IDC_COMPANY_NAME, version->companyName.c_str());
    ::SetDlgItemTextW(hwnd_, IDC_COPYRIGHT, CopyrightWithLineBreaks(version->legalCopyright).c_str());
    return true;
}

void AboutBox::SetTitleFont(int height) {
    LOGFONTW font{};
    if (FontFaceInstalled(kTitleFontFace, SHIFTJIS_CHARSET)) {
        font.lfCharSet = SHIFTJIS_CHARSET;
        wcsncpy_s(font.lfFaceName, kTitleFontFace, _TRUNCATE);
    } else if (const std::optional<LOGFONTW> dialogFont = dialogFont_.At(dpi_)) {
        font = *dialogFont;  // without that face, the dialog's own font in bold reads best
    } else {
        return;
    }
    font.lfHeight = height;
    font.lfWeight = FW_BOLD;
    font.lfItalic = FALSE;
    font.lfUnderline = FALSE;
    font.lfStrikeOut = FALSE;
    UniqueFont titleFont(::CreateFontIndirectW(&font));
    if (!titleFont) return;
    ::SendDlgItemMessageW(hwnd_, IDC_TITLE, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont.get()), TRUE);
    titleFont_ = std::move(titleFont);  // the one it replaces is no longer used
}

void AboutBox::ApplyDpi(int dpi) {
    dpi_ = dpi;
    const AboutBoxLayout layout = LayOutAboutBox(dpi);
    SetTitleFont(layout.titleFontHeight);
    // The icon first: setting it resizes its control to the icon's size.
    UniqueIcon icon = LoadApplicationIcon(instance_, layout.icon.width);
    ::SendDlgItemMessageW(hwnd_, IDC_APPLICATION_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
    icon_ = std::move(icon);  // the one it replaces is no longer shown

    PlaceControl(hwnd_, IDOK, layout.ok);
    PlaceControl(hwnd_, IDC_APPLICATION_ICON, layout.icon);
    PlaceControl(hwnd_, IDC_SYSTEM_INFORMATION, layout.sysInfo);
    PlaceControl(hwnd_, IDC_TITLE, layout.title);
    PlaceControl(hwnd_, IDC_VERSION, layout.version);
    PlaceControl(hwnd_, IDC_COMPANY_NAME, layout.companyName);
    PlaceControl(hwnd_, IDC_COPYRIGHT, layout.legalCopyright);
}

void AboutBox::PaintSeparator() {
    const WindowPaint paint(hwnd_);
    HDC dc = paint.Dc();
    const AboutBoxLayout layout = LayOutAboutBox(dpi_);
    const auto rect = [](const PixelBox& box) { return RECT{box.left, box.top, box.left + box.width, box.top + box.height}; };
    const RECT whiteLine = rect(layout.whiteLine);
    const RECT greyLine = rect(layout.greyLine);
    ::FillRect(dc, &whiteLine, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SetDCBrushColor(dc, RGB(0x80, 0x80, 0x80));
    ::FillRect(dc, &greyLine, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

void AboutBox::StartSystemInformation() {
    WindowsSysInfoSystem system(hwnd_);
    StartSysInfo(system);
}

INT_PTR AboutBox::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            if (!FillTexts()) {
                ::EndDialog(dialog, IDABORT);  // without version information the box is not shown
                return TRUE;
            }
            const int dpi = DialogDpi(dialog);
            dialogFont_.Remember(dialog, dpi);
            ApplyDpi(dpi);
            const AboutBoxLayout layout = LayOutAboutBox(dpi);
            RECT ownerRect = ScreenRect();
            if (HWND owner = ::GetWindow(dialog, GW_OWNER)) ::GetWindowRect(owner, &ownerRect);
            SizeAndCentre(dialog, layout.clientWidth, layout.clientHeight, dpi, ownerRect);
            return TRUE;  // the focus goes to the first tab stop, OK
        }
        case WM_DPICHANGED:
            // Everything is laid out here, the fonts included: the dialog manager's own scaling
            // would give the title the plain dialog font.
            dialogFont_.Apply(dialog, NewDpi(wParam), IDC_TITLE);
            ApplyDpi(NewDpi(wParam));
            TakeSuggestedRect(dialog, lParam);
            return TRUE;
        case WM_PAINT:
            PaintSeparator();
            return TRUE;
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) != ::GetDlgItem(dialog, IDC_TITLE)) return FALSE;
            // The title is black whatever the system's text colour; the background as usual.
            ::SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
            ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:      // the OK button, also Enter
                case IDCANCEL:  // Esc, Alt+F4 and the close box act like OK
                    ::EndDialog(dialog, IDOK);
                    return TRUE;
                case IDC_SYSTEM_INFORMATION:
                    StartSystemInformation();
                    return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace tessaro
