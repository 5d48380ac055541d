#include "dpi.h"

#include "procedure.h"
#include "unique_resource.h"

namespace tessaro {
namespace {

int SystemDpi() {
    const WindowDc screen(nullptr);
    const int dpi = ::GetDeviceCaps(screen.get(), LOGPIXELSX);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

const DpiFunctions& DpiFunctions::System() {
    static const DpiFunctions functions(::GetModuleHandleW(L"user32.dll"));
    return functions;
}

DpiFunctions::DpiFunctions(HMODULE user32)
    : getDpiForWindow_(FindProcedure<GetDpiForWindowFunction>(user32, "GetDpiForWindow")),
      getSystemMetricsForDpi_(FindProcedure<GetSystemMetricsForDpiFunction>(user32, "GetSystemMetricsForDpi")),
      adjustWindowRectExForDpi_(FindProcedure<AdjustWindowRectExForDpiFunction>(user32, "AdjustWindowRectExForDpi")) {}

int DpiFunctions::WindowDpi(HWND window) const {
    const UINT dpi = getDpiForWindow_ ? getDpiForWindow_(window) : 0;
    return dpi ? static_cast<int>(dpi) : SystemDpi();
}

int DpiFunctions::SystemMetric(int index, int dpi) const {
    return getSystemMetricsForDpi_ ? getSystemMetricsForDpi_(index, static_cast<UINT>(dpi)) : ::GetSystemMetrics(index);
}

RECT DpiFunctions::WindowRectForClient(RECT client, DWORD style, bool hasMenu, DWORD exStyle, int dpi) const {
    if (adjustWindowRectExForDpi_) {
        adjustWindowRectExForDpi_(&client, style, hasMenu, exStyle, static_cast<UINT>(dpi));
    } else {
        ::AdjustWindowRectEx(&client, style, hasMenu, exStyle);
    }
    return client;
}

}  // namespace tessaro
