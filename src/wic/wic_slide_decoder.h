#pragma once
// Slides decoded with the Windows Imaging Component: the format is found from the content, never
// from the name, and the picture is pulled in bands of rows and scaled straight into the screen,
// its colours converted from its profile into the monitor's.

#include <windows.h>
#include <wincodec.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>

#include "colour/slide_colours.h"
#include "icm/colour_engine.h"
#include "runtime_com.h"
#include "slides/byte_source.h"
#include "slides/slide_decoder.h"
#include "slides/slide_frame.h"
#include "win32/unique_resource.h"

namespace tessaro {

// The screen for a decoded frame, its colours converted when colours is set: from a reduced
// decode when the frame offers one still at least the drawn size, else, or when the reduced
// decode fails, from its full-size pixels. `path` names the slide in failure traces only.
std::optional<SlideFrame> RenderFrame(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, Orientation orientation,
                                      const ColourConversion* colours, int screenWidth, int screenHeight,
                                      const std::atomic<bool>& stop, const std::wstring& path);

// Makes the system's JPEG decoder.
using MakeJpegDecoder = std::function<HRESULT(ComPtr<IWICBitmapDecoder>& decoder)>;
// A decoder for the stream, initialized: the JPEG decoder for a file that starts as a JPEG, else
// (or when it refuses the file) whichever decoder the factory finds for the content.
HRESULT OpenDecoder(IWICImagingFactory* factory, const MakeJpegDecoder& makeJpegDecoder, bool jpeg, IStream* stream,
                    ComPtr<IWICBitmapDecoder>& decoder);

class WicSlideDecoder final : public SlideDecoder {
public:
    WicSlideDecoder();

    std::optional<FileSignature> Signature(const std::wstring& path) override;
    std::optional<SlideFrame> Render(const std::wstring& path, int screenWidth, int screenHeight,
                                     const std::atomic<bool>& stop) override;
    void UseMonitorProfile(std::shared_ptr<const ProfileBytes> profile) override { monitorProfile_ = std::move(profile); }

private:
    std::optional<SlideFrame> RenderFile(HANDLE file, const std::wstring& path, int screenWidth, int screenHeight,
                                         const std::atomic<bool>& stop);
    // How the frame's colours reach the monitor, from what its file says and its pixel format;
    // traces each profile passed over.
    SlideColours::Choice ChooseColours(SlideColourSource source, IWICBitmapFrameDecode* frame, const std::wstring& path);

    RuntimeCom com_;
    ComPtr<IWICImagingFactory> factory_;
    HRESULT factoryMade_;  // why every slide fails when there is no factory
    SystemColourEngine engine_;
    SlideColours colours_;
    std::shared_ptr<const ProfileBytes> monitorProfile_;
};

}  // namespace tessaro
