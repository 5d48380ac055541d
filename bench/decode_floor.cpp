// The floor of the saver's memory: a program that only decodes a picture with WIC and copies it
// out through a 32-bit converter in bands of 64 rows. It then signals DONE_EVENT and waits for
// QUIT_EVENT, so that its peak memory can be read from outside.
//
//   bench_decode_floor.exe FILE DONE_EVENT QUIT_EVENT

#include <windows.h>
#include <wincodec.h>

#include <vector>

#include "support/com_apartment.h"
#include "win32/unique_resource.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) return 2;
    const tessaro::ComApartment com;
    tessaro::ComPtr<IWICImagingFactory> factory;
    tessaro::ComPtr<IWICBitmapDecoder> decoder;
    tessaro::ComPtr<IWICBitmapFrameDecode> frame;
    tessaro::ComPtr<IWICBitmapSource> converted;
    UINT width = 0, height = 0;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put()))) ||
        FAILED(factory->CreateDecoderFromFilename(argv[1], nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&width, &height)) ||
        FAILED(::WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame.get(), converted.put()))) {
        return 1;
    }
    constexpr UINT kBand = 64;
    std::vector<BYTE> band(static_cast<std::size_t>(width) * 4 * kBand);
    for (UINT top = 0; top < height; top += kBand) {
        const UINT rows = height - top < kBand ? height - top : kBand;
        const WICRect rect{0, static_cast<INT>(top), static_cast<INT>(width), static_cast<INT>(rows)};
        if (FAILED(converted->CopyPixels(&rect, width * 4, width * 4 * rows, band.data()))) return 1;
    }
    const tessaro::UniqueHandle done(::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]));
    const tessaro::UniqueHandle quit(::OpenEventW(SYNCHRONIZE, FALSE, argv[3]));
    if (!done || !quit) return 1;
    ::SetEvent(done.get());
    ::WaitForSingleObject(quit.get(), INFINITE);
    return 0;
}
