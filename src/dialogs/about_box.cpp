#include "about_box.h"

#include <optional>
#include <string>

#include "dialog_geometry.h"
#include "sysinfo_windows.h"
#include "version_text.h"
#include "resource.h"
#include "../win32/module_info.h"
#include "../win32/window_class.h"

namespace tessaro {
namespace {

constexpr wchar_t kTitleFontFace[] = L"ＭＳ Ｐゴシック";
constexpr int kTitleFontPoints = 9;

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

}  // namespace

void SFrm_About::ShowModal(HWND owner) {
    ::DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_SFRM_ABOUT), owner, &WindowThunk::DialogProcedure<SFrm_About>,
                      reinterpret_cast<LPARAM>(this));
}

bool SFrm_About::Load() {
    const std::optional<VersionInfo> version = ReadVersionInfo();
    if (!version) return false;
    ::SetWindowTextW(hwnd_, AboutCaption(version->productName).c_str());
    ::SetDlgItemTextW(hwnd_, IDC_LBL_VERSION, VersionLabel(version->major, version->minor, version->revision).c_str());
    ::SetDlgItemTextW(hwnd_, IDC_LBL_TITLE, version->productName.c_str());
    ::SetDlgItemTextW(hwnd_, IDC_LBL_COMPANY_NAME, version->companyName.c_str());
    ::SetDlgItemTextW(hwnd_, IDC_LBL_LEGAL_COPYRIGHT, CopyrightWithLineBreaks(version->legalCopyright).c_str());
    return true;
}

void SFrm_About::SetTitleFont(int dpi) {
    LOGFONTW font{};
    if (FontFaceInstalled(kTitleFontFace, SHIFTJIS_CHARSET)) {
        font.lfHeight = -::MulDiv(kTitleFontPoints, dpi, 72);
        font.lfCharSet = SHIFTJIS_CHARSET;
        wcsncpy_s(font.lfFaceName, kTitleFontFace, _TRUNCATE);
    } else {
        // Without that face, the dialog's own font in bold reads best.
        const auto dialogFont = reinterpret_cast<HFONT>(::SendMessageW(hwnd_, WM_GETFONT, 0, 0));
        if (!dialogFont || !::GetObjectW(dialogFont, sizeof(font), &font)) return;
    }
    font.lfWeight = FW_BOLD;
    font.lfItalic = FALSE;
    font.lfUnderline = FALSE;
    font.lfStrikeOut = FALSE;
    titleFont_.reset(::CreateFontIndirectW(&font));
    if (titleFont_) ::SendDlgItemMessageW(hwnd_, IDC_LBL_TITLE, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), FALSE);
}

void SFrm_About::ApplyLayout(int dpi) {
    // The icon first: setting it resizes its control to the icon's size.
    UniqueIcon icon = LoadApplicationIcon(instance_, TwipsToPixels(about_layout::kIcon.width, dpi));
    ::SendDlgItemMessageW(hwnd_, IDC_PIC_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
    icon_ = std::move(icon);  // the one it replaces is no longer shown

    PlaceControl(hwnd_, IDOK, about_layout::kOk, dpi);
    PlaceControl(hwnd_, IDC_PIC_ICON, about_layout::kIcon, dpi);
    PlaceControl(hwnd_, IDC_CMD_SYSINFO, about_layout::kSysInfo, dpi);
    PlaceControl(hwnd_, IDC_LBL_TITLE, about_layout::kTitle, dpi);
    PlaceControl(hwnd_, IDC_LBL_VERSION, about_layout::kVersion, dpi);
    PlaceControl(hwnd_, IDC_LBL_COMPANY_NAME, about_layout::kCompanyName, dpi);
    PlaceControl(hwnd_, IDC_LBL_LEGAL_COPYRIGHT, about_layout::kLegalCopyright, dpi);

    RECT ownerRect = ScreenRect();
    if (HWND owner = ::GetWindow(hwnd_, GW_OWNER)) ::GetWindowRect(owner, &ownerRect);
    SizeAndCentre(hwnd_, about_layout::kClientWidth, about_layout::kClientHeight, dpi, ownerRect);
}

void SFrm_About::PaintSeparator() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(hwnd_, &paint);
    const int dpi = DialogDpi(hwnd_);
    const int left = TwipsToPixels(about_layout::kLineLeft, dpi);
    const int right = TwipsToPixels(about_layout::kLineRight, dpi);
    const int white = TwipsToPixels(about_layout::kWhiteLineY, dpi);
    const int grey = TwipsToPixels(about_layout::kGreyLineY, dpi);
    const int thin = (dpi + USER_DEFAULT_SCREEN_DPI / 2) / USER_DEFAULT_SCREEN_DPI;
    const RECT whiteLine{left, white, right, white + 2 * thin};
    const RECT greyLine{left, grey, right, grey + thin};
    ::FillRect(dc, &whiteLine, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SetDCBrushColor(dc, RGB(0x80, 0x80, 0x80));
    ::FillRect(dc, &greyLine, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    ::EndPaint(hwnd_, &paint);
}

void SFrm_About::cmdSysInfo_Click() {
    WindowsSysInfoSystem system(hwnd_);
    StartSysInfo(system);
}

INT_PTR SFrm_About::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            if (!Load()) {
                ::EndDialog(dialog, IDABORT);  // without version information the box is not shown
                return TRUE;
            }
            const int dpi = DialogDpi(dialog);
            SetTitleFont(dpi);
            ApplyLayout(dpi);
            return TRUE;  // the focus goes to the first tab stop, OK
        }
        case WM_PAINT:
            PaintSeparator();
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:      // cmdOK, Enter
                case IDCANCEL:  // Esc, Alt+F4 and the close box act like OK
                    ::EndDialog(dialog, IDOK);
                    return TRUE;
                case IDC_CMD_SYSINFO:
                    cmdSysInfo_Click();
                    return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace tessaro
