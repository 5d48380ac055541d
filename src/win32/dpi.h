#pragma once
// DPI of a window and DPI-scaled metrics on every Windows from 7 SP1 on. The per-monitor
// functions came with Windows 10 (version 1607), so they are looked up at run time; where they
// are missing, the system DPI and the older functions, which work at that DPI, answer instead.

#include <windows.h>

namespace tessaro {

class DpiFunctions {
public:
    // The functions user32 offers on this system.
    static const DpiFunctions& System();

    // The functions found in module; none when it is null.
    explicit DpiFunctions(HMODULE user32);

    int WindowDpi(HWND window) const;
    int SystemMetric(int index, int dpi) const;
    // The window rectangle around client, for a window with these styles.
    RECT WindowRectForClient(RECT client, DWORD style, bool hasMenu, DWORD exStyle, int dpi) const;

private:
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
    using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

    GetDpiForWindowFunction getDpiForWindow_ = nullptr;
    GetSystemMetricsForDpiFunction getSystemMetricsForDpi_ = nullptr;
    AdjustWindowRectExForDpiFunction adjustWindowRectExForDpi_ = nullptr;
};

}  // namespace tessaro
