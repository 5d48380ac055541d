#pragma once
// DLLs from System32 and nowhere else. Windows looks for a DLL named without a path in the
// program's own folder first, and a saver runs from wherever it was unpacked, a downloads folder
// full of whatever was left there: a DLL planted beside it would run inside it.

#include <windows.h>

#include <string_view>

#include "unique_resource.h"

namespace tessaro {

// The program's first act: from now on a DLL named without a path, by this program or by a
// system DLL on its behalf (the window manager's theming, for one), comes from System32 alone.
// Windows 8 and later, and Windows 7 with the update that brought it, offer this; elsewhere the
// search stays as the system has it.
void SearchDllsInSystemFolderOnly();

// The DLL name (such as L"ole32.dll") from System32; empty when it cannot be loaded
// (GetLastError says why).
UniqueModule LoadSystemLibrary(std::wstring_view name);

}  // namespace tessaro
