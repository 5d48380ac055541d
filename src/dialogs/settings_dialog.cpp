#include "settings_dialog.h"

#include "about_box.h"
#include "common/application.h"
#include "resource.h"
#include "win32/diagnostics.h"
#include "win32/dpi.h"
#include "win32/window_class.h"

namespace tessaro {

bool SettingsDialog::Create(HINSTANCE instance) {
    instance_ = instance;
    if (!::CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS_DIALOG), nullptr, &WindowThunk::DialogProcedure<SettingsDialog>,
                              reinterpret_cast<LPARAM>(this))) {
        TraceFailure(L"creating the dialog", L"the settings dialog", LastErrorResult());
        return false;
    }
    ::ShowWindow(hwnd_, SW_SHOWNORMAL);
    return true;
}

void SettingsDialog::Prepare() {
    ::SetWindowTextW(hwnd_, kApplicationTitle);

    const int dpi = DialogDpi(hwnd_);
    dialogFont_.Remember(hwnd_, dpi);
    ApplyDpi(dpi);
    const SettingsDialogLayout layout = LayOutSettingsDialog(dpi);
    SizeAndCentre(hwnd_, layout.clientWidth, layout.clientHeight, dpi, ScreenRect());
}

void SettingsDialog::ApplyDpi(int dpi) {
    SetIcons(dpi);
    const SettingsDialogLayout layout = LayOutSettingsDialog(dpi);
    PlaceControl(hwnd_, IDOK, layout.ok);
    PlaceControl(hwnd_, IDCANCEL, layout.cancel);
    PlaceControl(hwnd_, IDC_NOTHING_TO_SET, layout.label);
}

void SettingsDialog::SetIcons(int dpi) {
    UniqueIcon icon = LoadApplicationIcon(instance_, DpiFunctions::System().SystemMetric(SM_CXICON, dpi));
    UniqueIcon smallIcon = LoadApplicationIcon(instance_, DpiFunctions::System().SystemMetric(SM_CXSMICON, dpi));
    ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon.get()));
    ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
    // The icons they replace are destroyed only now that the window no longer uses them.
    icon_ = std::move(icon);
    smallIcon_ = std::move(smallIcon);
}

void SettingsDialog::OpenAboutBox() {
    AboutBox about(instance_);
    about.ShowModal(hwnd_);
}

INT_PTR SettingsDialog::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            Prepare();
            return TRUE;  // the focus goes to the first tab stop, the OK button
        case WM_DPICHANGED:
            // Laid out here, the font included, from its own layout: nothing is left to the
            // dialog manager's own scaling, which Windows 8.1 does not have.
            dialogFont_.Apply(dialog, NewDpi(wParam));
            ApplyDpi(NewDpi(wParam));
            TakeSuggestedRect(dialog, lParam);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:      // the OK button, also Enter
                case IDCANCEL:  // the Cancel button, also Esc
                    ::ExitProcess(0);
                case IDM_VERSION:
                    OpenAboutBox();
                    return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            ::DestroyWindow(dialog);
            return TRUE;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace tessaro
