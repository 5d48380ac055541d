#pragma once
// The settings dialog: there is nothing to set, and it says so. Its Help menu opens the About box.

#include <windows.h>

#include "dialog_placement.h"
#include "win32/unique_resource.h"

namespace tessaro {

class SettingsDialog {
public:
    // Loads the dialog (hidden) and shows it modeless, centred on the screen.
    bool Create(HINSTANCE instance);
    HWND Handle() const { return hwnd_; }

    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

private:
    // Sets the caption and lays the dialog out, before it is first shown.
    void Prepare();
    // Lays the dialog out, with its icons, for its monitor's DPI.
    void ApplyDpi(int dpi);
    void SetIcons(int dpi);
    void OpenAboutBox();

    friend struct WindowThunk;  // sets hwnd_
    HINSTANCE instance_ = nullptr;
    HWND hwnd_ = nullptr;
    DialogFont dialogFont_;
    UniqueIcon icon_;
    UniqueIcon smallIcon_;
};

}  // namespace tessaro
