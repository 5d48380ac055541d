#pragma once
// The settings dialog: there is nothing to set, and it says so. Its Help menu opens the About box.

#include <windows.h>

#include "dialog_geometry.h"
#include "../win32/unique_resource.h"

namespace tessaro {

class Form2 {
public:
    // Loads the dialog (hidden) and shows it modeless, centred on the screen.
    bool Create(HINSTANCE instance);
    HWND Handle() const { return hwnd_; }

    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void Load();
    // Lays the dialog out, with its icons, for its monitor's DPI.
    void ApplyDpi(int dpi);
    void SetIcons(int dpi);
    void MENU_Version_Click();

    friend struct WindowThunk;  // sets hwnd_
    HINSTANCE instance_ = nullptr;
    HWND hwnd_ = nullptr;
    DialogFont dialogFont_;
    UniqueIcon icon_;
    UniqueIcon smallIcon_;
};

}  // namespace tessaro
