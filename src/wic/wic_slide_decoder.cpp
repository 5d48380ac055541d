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

// The file at any offset. A read at an offset moves the handle's own pointer there.
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
    std::vector<BYTE> gray;  // a band of a gray reduced decode, widened to 24 bits for the composer

    HRESULT Copy(const WICRect& rect, UINT stride, UINT bytes, BYTE* out) {
        if (!reduced) return source->CopyPixels(&rect, stride, bytes, out);
        if (reducedFormat != GUID_WICPixelFormat8bppGray) {
            return reduced->CopyPixels(&rect, size.width, size.height, &reducedFormat, WICBitmapTransformRotate0, stride,
                                       bytes, out);
        }
        const UINT width = static_cast<UINT>(rect.Width);
        gray.resize(static_cast<std::size_t>(width) * static_cast<UINT>(rect.Height));
        const HRESULT copied = reduced->CopyPixels(&rect, size.width, size.height, &reducedFormat, WICBitmapTransformRotate0,
                                                   width, static_cast<UINT>(gray.size()), gray.data());
        if (FAILED(copied)) return copied;
        for (std::size_t row = 0; row < static_cast<std::size_t>(rect.Height); ++row) {
            for (std::size_t x = 0; x < width; ++x) std::fill_n(out + row * stride + x * 3, 3, gray[row * width + x]);
        }
        return S_OK;
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
    if (FAILED(rows.reduced->GetClosestPixelFormat(&rows.reducedFormat))) return std::nullopt;
    // A gray JPEG's reduced decode is gray: widened as it is copied.
    const bool gray = rows.reducedFormat == GUID_WICPixelFormat8bppGray;
    const std::optional<PixelLayout> layout = gray ? PixelLayout::Bgr24 : LayoutOf(rows.reducedFormat);
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

// The screen from rows, a band at a time; the failure of a copy, or S_FALSE when stopped.
HRESULT Compose(RowSource& rows, const SlidePlan& plan, int screenWidth, int screenHeight, const ColourConversion* colours,
                const std::atomic<bool>& stop, std::optional<SlideFrame>& frame) {
    SlideComposer composer(plan, screenWidth, screenHeight, rows.size, colours);
    if (plan.scaled.width != 0 && plan.scaled.height != 0) {  // else nothing to draw
        const UINT stride = rows.size.width * (rows.layout == PixelLayout::Bgr24 ? 3 : 4);
        const UINT bandRows = BandRows(rows, stride);
        std::vector<BYTE> band(static_cast<std::size_t>(stride) * bandRows);
        for (UINT top = 0; top < rows.size.height; top += bandRows) {
            if (stop) return S_FALSE;
            const UINT count = std::min(bandRows, rows.size.height - top);
            const WICRect rect{0, static_cast<INT>(top), static_cast<INT>(rows.size.width), static_cast<INT>(count)};
            if (const HRESULT copied = rows.Copy(rect, stride, stride * count, band.data()); FAILED(copied)) return copied;
            composer.AddRows(band.data(), static_cast<int>(count), stride, rows.layout);
        }
    }
    frame = composer.Finish();
    return S_OK;
}

// What colours a decoder's pixel format holds.
ColourModel ModelOf(const WICPixelFormatGUID& format) {
    for (const GUID& gray : {GUID_WICPixelFormatBlackWhite, GUID_WICPixelFormat2bppGray, GUID_WICPixelFormat4bppGray,
                             GUID_WICPixelFormat8bppGray, GUID_WICPixelFormat16bppGray, GUID_WICPixelFormat16bppGrayFixedPoint,
                             GUID_WICPixelFormat16bppGrayHalf, GUID_WICPixelFormat32bppGrayFloat,
                             GUID_WICPixelFormat32bppGrayFixedPoint}) {
        if (format == gray) return ColourModel::Gray;
    }
    for (const GUID& cmyk : {GUID_WICPixelFormat32bppCMYK, GUID_WICPixelFormat64bppCMYK, GUID_WICPixelFormat40bppCMYKAlpha,
                             GUID_WICPixelFormat80bppCMYKAlpha}) {
        if (format == cmyk) return ColourModel::Cmyk;
    }
    return ColourModel::Rgb;
}

// The profile a frame carries as WIC reads it (PNG, TIFF); a JPEG's is read from its segments.
std::optional<ProfileBytes> FrameProfile(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame) {
    UINT count = 0;
    if (FAILED(frame->GetColorContexts(0, nullptr, &count)) || count == 0) return std::nullopt;
    std::vector<ComPtr<IWICColorContext>> contexts(count);
    std::vector<IWICColorContext*> pointers;
    for (ComPtr<IWICColorContext>& context : contexts) {
        if (FAILED(factory->CreateColorContext(context.put()))) return std::nullopt;
        pointers.push_back(context.get());
    }
    if (FAILED(frame->GetColorContexts(count, pointers.data(), &count))) return std::nullopt;
    for (IWICColorContext* context : pointers) {
        WICColorContextType type{};
        UINT size = 0;
        if (FAILED(context->GetType(&type)) || type != WICColorContextProfile ||
            FAILED(context->GetProfileBytes(0, nullptr, &size)) || size == 0) {
            continue;
        }
        ProfileBytes bytes(size);
        if (SUCCEEDED(context->GetProfileBytes(size, bytes.data(), &size))) return bytes;
    }
    return std::nullopt;
}

}  // namespace

WicSlideDecoder::WicSlideDecoder()
    : factoryMade_(com_.CreateInstance(CLSID_WICImagingFactory, IID_PPV_ARGS(factory_.put()))),
      colours_([this](const IccProfile& from, const IccProfile& to, int nodes) { return engine_.Convert(from, to, nodes); }) {}

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
// Anything else goes through the factory, and so does a JPEG when that decoder cannot be made or
// refuses it.
HRESULT OpenDecoder(IWICImagingFactory* factory, const MakeJpegDecoder& makeJpegDecoder, bool jpeg, IStream* stream,
                    ComPtr<IWICBitmapDecoder>& decoder) {
    if (jpeg && SUCCEEDED(makeJpegDecoder(decoder)) &&
        SUCCEEDED(decoder->Initialize(stream, WICDecodeMetadataCacheOnDemand))) {
        return S_OK;
    }
    const LARGE_INTEGER start{};  // the decoder that refused it may have read some of it
    if (const HRESULT rewound = stream->Seek(start, STREAM_SEEK_SET, nullptr); FAILED(rewound)) return rewound;
    return factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, decoder.put());
}

std::optional<SlideFrame> WicSlideDecoder::RenderFile(HANDLE file, const std::wstring& path, int screenWidth,
                                                      int screenHeight, const std::atomic<bool>& stop) {
    FileBytes bytes(file);
    LARGE_INTEGER fileBytes{};
    if (::GetFileSizeEx(file, &fileBytes) && JpegClaimsMoreThanItHolds(bytes, static_cast<std::uint64_t>(fileBytes.QuadPart))) {
        return Failed(L"checking the slide's declared size", path, WINCODEC_ERR_BADIMAGE);
    }
    // Reading the bytes moves the file's pointer, which the decoder's stream takes for its own
    // once it has read: everything read here is read before the stream is made.
    const ExifFacts exif = ReadExif(bytes);
    SlideColourSource colourSource;
    colourSource.cameraAdobeRgb = exif.cameraAdobeRgb;
    const bool jpeg = StartsAsJpeg(bytes);
    if (jpeg) {
        JpegIccProfile profile = ReadJpegIccProfile(bytes);
        if (profile.complete) colourSource.embedded = std::move(profile.bytes);
        if (profile.present && !profile.complete) colourSource.embeddedProblem = ProfileProblem::SegmentsDoNotAddUp;
    }

    const ComPtr<IStream> stream = MakeHandleStream(file);
    if (!stream) return Failed(L"reading the slide", path, E_OUTOFMEMORY);
    ComPtr<IWICBitmapDecoder> decoder;
    const auto makeJpegDecoder = [this](ComPtr<IWICBitmapDecoder>& made) {
        return com_.CreateInstance(CLSID_WICJpegDecoder, IID_PPV_ARGS(made.put()));
    };
    HRESULT hr = OpenDecoder(factory_.get(), makeJpegDecoder, jpeg, stream.get(), decoder);
    if (FAILED(hr)) return Failed(L"decoding the slide", path, hr);
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(hr = decoder->GetFrame(0, frame.put()))) return Failed(L"reading the slide's first frame", path, hr);
    // A JPEG's profile was read from its segments; the decoder gives any other format's.
    if (!jpeg) colourSource.embedded = FrameProfile(factory_.get(), frame.get());
    const SlideColours::Choice colours = ChooseColours(colourSource, frame.get(), path);
    return RenderFrame(factory_.get(), frame.get(), exif.orientation, colours.conversion.get(), screenWidth, screenHeight, stop,
                       path);
}

SlideColours::Choice WicSlideDecoder::ChooseColours(SlideColourSource source, IWICBitmapFrameDecode* frame,
                                                    const std::wstring& path) {
    WICPixelFormatGUID format{};
    source.pixels = SUCCEEDED(frame->GetPixelFormat(&format)) ? ModelOf(format) : ColourModel::Other;
    SlideColours::Choice choice = colours_.For(source, monitorProfile_.get());
    for (const SlideColours::Note& note : choice.notes) {
        const std::wstring whose = note.monitors ? L"the monitor's" : L"the slide's";
        const std::wstring what = L"using " + whose + L" colour profile (" + Widened(Describe(note.problem)) + L")";
        const DWORD why = note.problem == ProfileProblem::RefusedByEngine    ? ERROR_INVALID_TRANSFORM
                          : note.problem == ProfileProblem::DoesNotFitPixels ? ERROR_INVALID_COLORSPACE
                                                                             : ERROR_INVALID_PROFILE;
        TraceFailure(what, path, HRESULT_FROM_WIN32(why));
    }
    return choice;
}

std::optional<SlideFrame> RenderFrame(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, Orientation orientation,
                                      const ColourConversion* colours, int screenWidth, int screenHeight,
                                      const std::atomic<bool>& stop, const std::wstring& path) {
    HRESULT hr = S_OK;
    PictureSize stored;
    if (FAILED(hr = frame->GetSize(&stored.width, &stored.height))) return Failed(L"reading the slide's size", path, hr);
    const std::optional<SlidePlan> plan = PlanSlide(screenWidth, screenHeight, stored, orientation);
    if (!plan) return Failed(L"placing the slide", path, E_INVALIDARG);

    std::optional<SlideFrame> screen;
    const auto budget = [&](const RowSource& rows) { return ScalingFits(rows.size, plan->scaled); };
    if (std::optional<RowSource> reduced = ReducedRows(frame, stored, plan->scaled)) {
        if (!budget(*reduced)) return Failed(L"scaling the slide within its memory budget", path, E_OUTOFMEMORY);
        hr = Compose(*reduced, *plan, screenWidth, screenHeight, colours, stop, screen);
        if (hr == S_OK || stop) return screen;
        // The full-size picture may still be read.
        TraceFailure(L"reading the slide's reduced pixels", path, hr);
    }
    std::optional<RowSource> rows = FullRows(factory, frame, stored, hr);
    if (!rows) return Failed(L"converting the slide's pixels", path, hr);
    if (!budget(*rows)) return Failed(L"scaling the slide within its memory budget", path, E_OUTOFMEMORY);
    hr = Compose(*rows, *plan, screenWidth, screenHeight, colours, stop, screen);
    if (FAILED(hr)) return Failed(L"reading the slide's pixels", path, hr);
    return screen;  // empty when stopped
}

}  // namespace tessaro
