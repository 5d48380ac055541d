#pragma once
// The About box: icon, title, version, company and copyright from the executable's own version
// information, and a button that starts the system's System Information tool.

#include <windows.h>

#include "dialog_placement.h"
#include "win32/unique_resource.h"

namespace tessaro {

class AboutBox {
public:
    explicit AboutBox(HINSTANCE instance) : instance_(instance) {}

    // Modal over owner, which takes no input until the box is closed.
    void ShowModal(HWND owner);

    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

private:
    // Fills in the texts from the version information; false, and traced, when there is none.
    bool FillTexts();
    // Lays the box out, with its title font and icon, for its monitor's DPI.
    void ApplyDpi(int dpi);
    void SetTitleFont(int height);
    void PaintSeparator();
    void StartSystemInformation();

    friend struct WindowThunk;  // sets hwnd_
    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    DialogFont dialogFont_;
    UniqueFont titleFont_;
    UniqueIcon icon_;
};

}  // namespace tessaro
