#pragma once
// What both dialogs need to lay themselves out at the DPI of the monitor they are on, when they
// open and whenever that DPI changes (WM_DPICHANGED).

#include <windows.h>

#include <optional>

#include "dialog_design/dialog_layout.h"
#include "win32/unique_resource.h"

namespace tessaro {

int DialogDpi(HWND dialog);

void PlaceControl(HWND dialog, int controlId, const PixelBox& box);

// Gives the dialog a client area of this size (below its menu bar, if any) and centres the
// whole window over area.
void SizeAndCentre(HWND dialog, int clientWidth, int clientHeight, int dpi, const RECT& area);

// Moves and sizes the dialog to the rectangle WM_DPICHANGED suggests.
void TakeSuggestedRect(HWND dialog, LPARAM dpiChangedLParam);

// The DPI that WM_DPICHANGED announces.
int NewDpi(WPARAM dpiChangedWParam);

// The whole primary monitor.
RECT ScreenRect();

// A font of this face and character set is installed.
bool FontFaceInstalled(const wchar_t* face, BYTE charset);

// The application icon at size x size pixels, made for that size by the system from the images
// in the resources. Owned: a shared icon would be whichever size was loaded first.
UniqueIcon LoadApplicationIcon(HINSTANCE instance, int size);

// The font the dialog template gives every control, made again for each new DPI.
class DialogFont {
public:
    // Notes the template's font as the dialog has it at dpi.
    void Remember(HWND dialog, int dpi);
    // The template's font at dpi; empty before Remember.
    std::optional<LOGFONTW> At(int dpi) const;
    // Gives every control of the dialog, but exceptControlId (0: none), the template's font at dpi.
    void Apply(HWND dialog, int dpi, int exceptControlId = 0);

private:
    std::optional<LOGFONTW> design_;
    int designDpi_ = USER_DEFAULT_SCREEN_DPI;
    UniqueFont font_;
};

}  // namespace tessaro
