#pragma once
// A decoder's scaled decoding (IWICBitmapSourceTransform: a JPEG decoder reduces in the DCT, at
// 1/2, 1/4 or 1/8), which some SDK headers do not declare: the same interface under a name of
// our own. Declared in a header, not in a file's anonymous namespace: GCC would take that file
// for the only place it can be implemented, find no implementation, and compile every call of it
// as a call of a pure virtual function.

#include <windows.h>
#include <wincodec.h>

namespace tessaro {

struct ScaledDecode : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height, WICPixelFormatGUID* format,
                                                 WICBitmapTransformOptions transform, UINT stride, UINT bufferSize,
                                                 BYTE* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform, BOOL* supported) = 0;
};
inline constexpr IID kScaledDecodeId = {0x3B16811B, 0x6A43, 0x4EC9, {0xB7, 0x13, 0x3D, 0x5A, 0x0C, 0x13, 0xB9, 0x40}};

}  // namespace tessaro
