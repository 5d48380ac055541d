#pragma once
// Lays out a dialog from its design in twips at the DPI of the monitor it is on.

#include <windows.h>

#include "dialog_layout.h"
#include "../win32/unique_resource.h"

namespace tessaro {

int DialogDpi(HWND dialog);

void PlaceControl(HWND dialog, int controlId, TwipsRect design, int dpi);

// Gives the dialog a client area of the designed size (below its menu bar, if any) and centres
// the whole window over area.
void SizeAndCentre(HWND dialog, int clientWidthTwips, int clientHeightTwips, int dpi, const RECT& area);

// The whole primary monitor.
RECT ScreenRect();

// The application icon at size x size pixels, made for that size by the system from the images
// in the resources. Owned: a shared icon would be whichever size was loaded first.
UniqueIcon LoadApplicationIcon(HINSTANCE instance, int size);

}  // namespace tessaro
