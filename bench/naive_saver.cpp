// A naive saver, to compare the first light of a slide with: everything on one thread, in order.
// It decodes the picture with WIC (linked with the program, so loaded before it starts), then
// makes a topmost window over the screen whose first WM_PAINT draws the picture with StretchBlt,
// at its own size in the middle or fitted to the screen. It ends on a key press.
//
//   bench_naive_saver.exe "PICTURE"

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <string>
#include <vector>

#include "win32/unique_resource.h"

namespace {

UINT pictureWidth = 0, pictureHeight = 0;
std::vector<BYTE> pixels;  // 32-bit, top-down

bool Decode(const wchar_t* path) {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    tessaro::ComPtr<IWICImagingFactory> factory;
    tessaro::ComPtr<IWICBitmapDecoder> decoder;
    tessaro::ComPtr<IWICBitmapFrameDecode> frame;
    tessaro::ComPtr<IWICBitmapSource> converted;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put()))) ||
        FAILED(factory->CreateDecoderFromFilename(path, nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&pictureWidth, &pictureHeight)) ||
        FAILED(::WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame.get(), converted.put()))) {
        return false;
    }
    pixels.resize(static_cast<std::size_t>(pictureWidth) * pictureHeight * 4);
    return SUCCEEDED(converted->CopyPixels(nullptr, pictureWidth * 4, static_cast<UINT>(pixels.size()), pixels.data()));
}

void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window, &paint);
    ::FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN), screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    const int width = static_cast<int>(pictureWidth), height = static_cast<int>(pictureHeight);
    const double scale = width < screenWidth && height < screenHeight
                             ? 1.0
                             : std::min(static_cast<double>(screenWidth) / width, static_cast<double>(screenHeight) / height);
    const int drawnWidth = static_cast<int>(width * scale + 0.5), drawnHeight = static_cast<int>(height * scale + 0.5);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    ::SetStretchBltMode(dc, HALFTONE);
    ::StretchDIBits(dc, (screenWidth - drawnWidth) / 2, (screenHeight - drawnHeight) / 2, drawnWidth, drawnHeight, 0, 0,
                    width, height, pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    ::EndPaint(window, &paint);
}

LRESULT CALLBACK NaiveWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            ::TerminateProcess(::GetCurrentProcess(), 0);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(window);
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    std::wstring path(commandLine);
    path.erase(std::remove(path.begin(), path.end(), L'"'), path.end());
    if (!Decode(path.c_str())) return 1;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &NaiveWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"TessaroBenchNaiveSaver";
    ::RegisterClassExW(&windowClass);
    HWND window = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"", WS_POPUP, 0, 0,
                                    ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                    instance, nullptr);
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::ShowWindow(window, SW_MAXIMIZE);
    ::UpdateWindow(window);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
    return 0;
}
