#include "slide_renderer.h"

#include <windows.h>
#include <wincodec.h>

#include <new>

#include "../common/long_path.h"
#include "../win32/unique_resource.h"

namespace tessaro {
namespace {

// The picture's first frame as premultiplied 32-bit pixels: transparent parts end up black,
// the colour behind every slide.
std::optional<Bitmap> DecodePicture(const std::wstring& path) {
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put())))) {
        return std::nullopt;
    }
    ComPtr<IWICBitmapDecoder> decoder;
    const std::wstring filePath = ExtendedLengthPath(path);
    if (FAILED(factory->CreateDecoderFromFilename(filePath.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.put()))) {
        return std::nullopt;
    }
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&width, &height))) return std::nullopt;
    // Refused from the header alone, before any pixel memory is taken.
    if (!IsDecodableSize(width, height)) return std::nullopt;

    ComPtr<IWICBitmapSource> converted;
    if (FAILED(::WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame.get(), converted.put()))) {
        return std::nullopt;
    }
    Bitmap picture(static_cast<int>(width), static_cast<int>(height));
    const UINT stride = width * 4;
    const UINT bytes = stride * height;
    if (FAILED(converted->CopyPixels(nullptr, stride, bytes, reinterpret_cast<BYTE*>(picture.pixels.data())))) {
        return std::nullopt;
    }
    return picture;
}

}  // namespace

std::optional<SlideFrame> RenderSlide(const std::wstring& path, int screenWidth, int screenHeight) {
    try {
        const std::optional<Bitmap> picture = DecodePicture(path);
        if (!picture) return std::nullopt;
        return ComposeSlide(*picture, screenWidth, screenHeight);
    } catch (const std::bad_alloc&) {
        return std::nullopt;  // a picture that does not fit in memory counts as unreadable
    }
}

}  // namespace tessaro
