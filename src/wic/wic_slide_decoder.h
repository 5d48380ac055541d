#pragma once
// Slides decoded with the Windows Imaging Component: the format is found from the content, never
// from the name, and the picture is pulled in bands of rows and scaled straight into the screen.

#include <windows.h>
#include <wincodec.h>

#include <atomic>
#include <optional>
#include <string>

#include "runtime_com.h"
#include "slides/byte_source.h"
#include "slides/slide_decoder.h"
#include "slides/slide_frame.h"
#include "win32/unique_resource.h"

namespace tessaro {

// The screen for a decoded frame: from a reduced decode when the frame offers one still at least
// the drawn size, else from its full-size pixels. `path` names the slide in failure traces only.
std::optional<SlideFrame> RenderFrame(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, Orientation orientation,
                                      int screenWidth, int screenHeight, const std::atomic<bool>& stop,
                                      const std::wstring& path);

class WicSlideDecoder final : public SlideDecoder {
public:
    WicSlideDecoder();

    std::optional<FileSignature> Signature(const std::wstring& path) override;
    std::optional<SlideFrame> Render(const std::wstring& path, int screenWidth, int screenHeight,
                                     const std::atomic<bool>& stop) override;

private:
    std::optional<SlideFrame> RenderFile(HANDLE file, const std::wstring& path, int screenWidth, int screenHeight,
                                         const std::atomic<bool>& stop);
    HRESULT OpenDecoder(ByteSource& bytes, IStream* stream, ComPtr<IWICBitmapDecoder>& decoder) const;

    RuntimeCom com_;
    ComPtr<IWICImagingFactory> factory_;
    HRESULT factoryMade_;  // why every slide fails when there is no factory
};

}  // namespace tessaro
