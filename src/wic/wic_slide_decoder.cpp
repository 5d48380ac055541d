#include "wic_slide_decoder.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "handle_stream.h"
#include "scaled_decode.h"
#include "slides/jpeg_header.h"
#include "win32/diagnostics.h"
#include "win32/file_information.h"

namespace tessaro {

namespace {

// Bands of this many rows at the most, and of at most this many bytes.
constexpr UINT kBandRows = 64;
constexpr std::size_t kBandBytes = 4u << 20;

class FileBytes final : public ByteSource {
public:
    explicit FileBytes(HANDLE file) : file_(file) {}
    std::size_t ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t size) override {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD read = 0;
        const auto wanted = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        return ::ReadFile(file_, out, wanted, &read, &at) ? read : 0;
    }

private:
    HANDLE file_;
};

// The layouts the composer reads directly; anything else goes through a converter first.
std::optional<PixelLayout> LayoutOf(const WICPixelFormatGUID& format) {
    if (format == GUID_WICPixelFormat24bppBGR) return PixelLayout::Bgr24;
    if (format == GUID_WICPixelFormat32bppBGR || format == GUID_WICPixelFormat32bppPBGRA) return PixelLayout::Bgrx32;
    return std::nullopt;
}

// Where the rows come from: the picture as decoded, a converter in front of it, or a reduced
// decode; their size and layout, and how to copy a band of them.
struct RowSource {
    PictureSize size;
    PixelLayout layout = PixelLayout::Bgrx32;
    ComPtr<IWICBitmapSource> source;
    ComPtr<ScaledDecode> reduced;  // when set, rows come from it instead of source
    WICPixelFormatGUID reducedFormat{};

    HRESULT Copy(const WICRect& rect, UINT stride, UINT bytes, BYTE* out) {
        if (reduced) {
            return reduced->CopyPixels(&rect, size.width, size.height, &reducedFormat, WICBitmapTransformRotate0, stride,
                                       bytes, out);
        }
        return source->CopyPixels(&rect, stride, bytes, out);
    }
};

// A reduced decode, when the decoder offers one that is still at least the drawn size.
std::optional<RowSource> ReducedRows(IWICBitmapFrameDecode* frame, PictureSize stored, PictureSize needed) {
    if (needed.width >= stored.width && needed.height >= stored.height) return std::nullopt;
    RowSource rows;
    if (FAILED(frame->QueryInterface(kScaledDecodeId, reinterpret_cast<void**>(rows.reduced.put())))) return std::nullopt;
    ScaledDecode* transform = rows.reduced.get();
    rows.size = ChooseDecodeSize(stored, needed, [transform, stored](PictureSize request) {
        PictureSize offered = request;
        const HRESULT asked = transform->GetClosestSize(&offered.width, &offered.height);
        return SUCCEEDED(asked) ? offered : stored;
    });
    rows.reducedFormat = GUID_WICPixelFormat24bppBGR;
    const std::optional<PixelLayout> layout =
        SUCCEEDED(rows.reduced->GetClosestPixelFormat(&rows.reducedFormat)) ? LayoutOf(rows.reducedFormat) : std::nullopt;
    if (!layout || (rows.size.width == stored.width && rows.size.height == stored.height)) return std::nullopt;
    rows.layout = *layout;
    return rows;
}

// The picture as decoded, in its own layout when the composer reads it, else converted to
// premultiplied 32-bit pixels: transparent parts end up black, the colour behind every slide.
std::optional<RowSource> FullRows(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, PictureSize stored,
                                  HRESULT& failure) {
    RowSource rows;
    rows.size = stored;
    WICPixelFormatGUID format{};
    if (FAILED(failure = frame->GetPixelFormat(&format))) return std::nullopt;
    if (const std::optional<PixelLayout> layout = LayoutOf(format)) {
        rows.layout = *layout;
        failure = frame->QueryInterface(IID_PPV_ARGS(rows.source.put()));
    } else {
        rows.layout = PixelLayout::Bgrx32;
        ComPtr<IWICFormatConverter> converter;
        failure = factory->CreateFormatConverter(converter.put());
        if (SUCCEEDED(failure)) {
            failure = converter->Initialize(frame, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                            WICBitmapPaletteTypeCustom);
        }
        if (SUCCEEDED(failure)) failure = converter->QueryInterface(IID_PPV_ARGS(rows.source.put()));
    }
    if (FAILED(failure)) return std::nullopt;
    return rows;
}

// Traces the failure and gives up on the slide.
std::nullopt_t Failed(const wchar_t* what, const std::wstring& path, HRESULT code) {
    TraceFailure(what, path, code);
    return std::nullopt;
}

// Rows per copy: bands of at most kBandRows rows and kBandBytes bytes. A decoder may decode the
// whole reduced picture again for every copy from it, so a reduced picture that fits in
// kBandBytes is copied in one.
UINT BandRows(const RowSource& rows, UINT stride) {
    if (rows.reduced && static_cast<std::size_t>(stride) * rows.size.height <= kBandBytes) return rows.size.height;
    return static_cast<UINT>(std::clamp<std::size_t>(kBandBytes / stride, 1, kBandRows));
}

}  // namespace

WicSlideDecoder::WicSlideDecoder()
    : factoryMade_(com_.CreateInstance(CLSID_WICImagingFactory, IID_PPV_ARGS(factory_.put()))) {}

std::optional<FileSignature> WicSlideDecoder::Signature(const std::wstring& path) { return ReadFileSignature(path); }

std::optional<SlideFrame> WicSlideDecoder::Render(const std::wstring& path, int screenWidth, int screenHeight,
                                                  const std::atomic<bool>& stop) {
    if (!factory_) {
        TraceFailure(L"creating the imaging factory", path, factoryMade_);
        return std::nullopt;
    }
    const UniqueFile file = OpenExistingFile(path, GENERIC_READ, FILE_FLAG_SEQUENTIAL_SCAN);
    if (!file) {
        TraceFailure(L"opening the slide", path, LastErrorResult());
        return std::nullopt;
    }
    try {
        return RenderFile(file.get(), path, screenWidth, screenHeight, stop);
    } catch (const std::bad_alloc&) {
        // A picture that does not fit in memory counts as unreadable.
        TraceFailure(L"finding memory for the slide", path, E_OUTOFMEMORY);
        return std::nullopt;
    }
}

// A JPEG goes straight to the system's JPEG decoder: asking the factory to find the decoder tries
// the patterns of every installed codec first, which can take as long as decoding a small picture.
// Anything else goes through the factory, and so does a JPEG when that decoder cannot be made.
HRESULT WicSlideDecoder::OpenDecoder(ByteSource& bytes, IStream* stream, ComPtr<IWICBitmapDecoder>& decoder) const {
    if (StartsAsJpeg(bytes) && SUCCEEDED(com_.CreateInstance(CLSID_WICJpegDecoder, IID_PPV_ARGS(decoder.put())))) {
        return decoder->Initialize(stream, WICDecodeMetadataCacheOnDemand);
    }
    return factory_->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, decoder.put());
}

std::optional<SlideFrame> WicSlideDecoder::RenderFile(HANDLE file, const std::wstring& path, int screenWidth,
                                                      int screenHeight, const std::atomic<bool>& stop) {
    FileBytes bytes(file);
    LARGE_INTEGER fileBytes{};
    if (::GetFileSizeEx(file, &fileBytes) && JpegClaimsMoreThanItHolds(bytes, static_cast<std::uint64_t>(fileBytes.QuadPart))) {
        return Failed(L"checking the slide's declared size", path, WINCODEC_ERR_BADIMAGE);
    }
    const Orientation orientation = ReadExifOrientation(bytes);

    const ComPtr<IStream> stream = MakeHandleStream(file);
    if (!stream) return Failed(L"reading the slide", path, E_OUTOFMEMORY);
    ComPtr<IWICBitmapDecoder> decoder;
    HRESULT hr = OpenDecoder(bytes, stream.get(), decoder);
    if (FAILED(hr)) return Failed(L"decoding the slide", path, hr);
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(hr = decoder->GetFrame(0, frame.put()))) return Failed(L"reading the slide's first frame", path, hr);
    return RenderFrame(factory_.get(), frame.get(), orientation, screenWidth, screenHeight, stop, path);
}

std::optional<SlideFrame> RenderFrame(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, Orientation orientation,
                                      int screenWidth, int screenHeight, const std::atomic<bool>& stop,
                                      const std::wstring& path) {
    HRESULT hr = S_OK;
    PictureSize stored;
    if (FAILED(hr = frame->GetSize(&stored.width, &stored.height))) return Failed(L"reading the slide's size", path, hr);
    const std::optional<SlidePlan> plan = PlanSlide(screenWidth, screenHeight, stored, orientation);
    if (!plan) return Failed(L"placing the slide", path, E_INVALIDARG);

    std::optional<RowSource> rows = ReducedRows(frame, stored, plan->scaled);
    if (!rows) rows = FullRows(factory, frame, stored, hr);
    if (!rows) return Failed(L"converting the slide's pixels", path, hr);
    if (!ScalingFits(rows->size, plan->scaled)) return Failed(L"scaling the slide within its memory budget", path, E_OUTOFMEMORY);

    SlideComposer composer(*plan, screenWidth, screenHeight, rows->size);
    if (plan->scaled.width == 0 || plan->scaled.height == 0) return composer.Finish();  // nothing to draw
    const UINT stride = rows->size.width * (rows->layout == PixelLayout::Bgr24 ? 3 : 4);
    const UINT bandRows = BandRows(*rows, stride);
    std::vector<BYTE> band(static_cast<std::size_t>(stride) * bandRows);
    for (UINT top = 0; top < rows->size.height; top += bandRows) {
        if (stop) return std::nullopt;
        const UINT count = std::min(bandRows, rows->size.height - top);
        const WICRect rect{0, static_cast<INT>(top), static_cast<INT>(rows->size.width), static_cast<INT>(count)};
        if (FAILED(hr = rows->Copy(rect, stride, stride * count, band.data()))) return Failed(L"reading the slide's pixels", path, hr);
        composer.AddRows(band.data(), static_cast<int>(count), stride, rows->layout);
    }
    return composer.Finish();
}

}  // namespace tessaro
