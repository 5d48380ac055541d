// The reduced decode a JPEG frame offers on Windows, which Wine's does not: a frame of our own
// that decodes at 1/2, 1/4 and 1/8 as Windows documents it, rendered against the same pixels
// without the reduced decode; and the ways the decoder falls back when Windows' decoders refuse.

#include "wic/wic_slide_decoder.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "harness.h"

#include "support/com_apartment.h"

namespace tessaro {
namespace {

// IWICBitmapSourceTransform as its documentation gives it, its IID and its methods in order,
// declared here apart from the program's own declaration: a wrong one would fail these tests.
struct DocumentedSourceTransform : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height, WICPixelFormatGUID* format,
                                                 WICBitmapTransformOptions transform, UINT stride, UINT size, BYTE* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform, BOOL* supported) = 0;
};
constexpr IID kSourceTransformId = {0x3B16811B, 0x6A43, 0x4EC9, {0xB7, 0x13, 0x3D, 0x5A, 0x0C, 0x13, 0xB9, 0x40}};

// Gradients with grain. The grain comes in 8 x 8 blocks, in line with every reduction: detail
// finer than the reduced pixels would be averaged differently where a drawn pixel covers part of
// a reduced one, and a real decoder's reduction loses it anyway.
std::vector<BYTE> Photo(UINT width, UINT height) {
    std::vector<BYTE> bgr(static_cast<std::size_t>(width) * height * 3);
    for (UINT y = 0; y < height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            UINT grain = (x / 8) * 2654435761u ^ (y / 8) * 2246822519u;
            grain = (grain ^ grain >> 15) * 2654435761u;
            const int shift = static_cast<int>((grain >> 13) % 25) - 12;
            const UINT base[3] = {x * 230 / width, y * 230 / height, (x + y) * 230 / (width + height)};
            BYTE* pixel = &bgr[(static_cast<std::size_t>(y) * width + x) * 3];
            for (int c = 0; c < 3; ++c) pixel[c] = static_cast<BYTE>(static_cast<int>(base[c]) + 12 + shift);
        }
    }
    return bgr;
}

// A 24-bit frame over stored pixels (8-bit gray, their first channel, on request); on request also
// a JPEG-like reduced decode, whose copies it records, and which may fail every copy.
class StandInJpegFrame final : public IWICBitmapFrameDecode, public DocumentedSourceTransform {
public:
    struct ReducedCopy {
        UINT width, height;
        WICRect rect;
    };
    std::vector<ReducedCopy> copies;

    StandInJpegFrame(UINT width, UINT height, const std::vector<BYTE>& bgr, bool reduces, bool gray = false,
                     bool reducedCopiesFail = false)
        : width_(width), height_(height), bgr_(bgr), reduces_(reduces), gray_(gray), reducedCopiesFail_(reducedCopiesFail) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        *out = nullptr;
        if (id == IID_IUnknown || id == __uuidof(IWICBitmapSource) || id == __uuidof(IWICBitmapFrameDecode)) {
            *out = static_cast<IWICBitmapFrameDecode*>(this);
        } else if (id == kSourceTransformId && reduces_) {
            *out = static_cast<DocumentedSourceTransform*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }  // lives on the test's stack

    HRESULT STDMETHODCALLTYPE GetSize(UINT* width, UINT* height) override {
        *width = width_;
        *height = height_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPixelFormat(WICPixelFormatGUID* format) override { return GetClosestPixelFormat(format); }
    HRESULT STDMETHODCALLTYPE GetResolution(double* x, double* y) override {
        *x = *y = 96.0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CopyPalette(IWICPalette*) override { return WINCODEC_ERR_PALETTEUNAVAILABLE; }
    HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT stride, UINT size, BYTE* out) override {
        return Copy(rect, 1, stride, size, out);
    }
    HRESULT STDMETHODCALLTYPE GetMetadataQueryReader(IWICMetadataQueryReader**) override {
        return WINCODEC_ERR_UNSUPPORTEDOPERATION;
    }
    HRESULT STDMETHODCALLTYPE GetColorContexts(UINT, IWICColorContext**, UINT*) override {
        return WINCODEC_ERR_UNSUPPORTEDOPERATION;
    }
    HRESULT STDMETHODCALLTYPE GetThumbnail(IWICBitmapSource**) override { return WINCODEC_ERR_CODECNOTHUMBNAIL; }

    // JPEG decodes at 1/1, 1/2, 1/4 and 1/8, each side rounded up: the smallest that holds the request.
    HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) override {
        UINT divisor = 8;
        while (divisor > 1 && (Reduced(width_, divisor) < *width || Reduced(height_, divisor) < *height)) divisor /= 2;
        *width = Reduced(width_, divisor);
        *height = Reduced(height_, divisor);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height, WICPixelFormatGUID* format,
                                         WICBitmapTransformOptions transform, UINT stride, UINT size, BYTE* out) override {
        UINT divisor = 1;
        while (divisor <= 8 && (Reduced(width_, divisor) != width || Reduced(height_, divisor) != height)) divisor *= 2;
        WICPixelFormatGUID own{};
        GetClosestPixelFormat(&own);
        if (divisor > 8 || *format != own || transform != WICBitmapTransformRotate0) return E_INVALIDARG;
        copies.push_back({width, height, rect ? *rect : WICRect{0, 0, static_cast<INT>(width), static_cast<INT>(height)}});
        return reducedCopiesFail_ ? WINCODEC_ERR_BADIMAGE : Copy(rect, divisor, stride, size, out);
    }
    HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) override {
        *format = gray_ ? GUID_WICPixelFormat8bppGray : GUID_WICPixelFormat24bppBGR;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform, BOOL* supported) override {
        *supported = transform == WICBitmapTransformRotate0;
        return S_OK;
    }

private:
    static UINT Reduced(UINT side, UINT divisor) { return (side + divisor - 1) / divisor; }

    // rect of the picture reduced by divisor: each pixel the rounded mean of the stored pixels it covers.
    HRESULT Copy(const WICRect* rect, UINT divisor, UINT stride, UINT size, BYTE* out) const {
        const UINT width = Reduced(width_, divisor), height = Reduced(height_, divisor);
        const WICRect r = rect ? *rect : WICRect{0, 0, static_cast<INT>(width), static_cast<INT>(height)};
        const UINT channels = gray_ ? 1 : 3;
        if (r.X < 0 || r.Y < 0 || r.Width <= 0 || r.Height <= 0 || static_cast<UINT>(r.X + r.Width) > width ||
            static_cast<UINT>(r.Y + r.Height) > height || stride < static_cast<UINT>(r.Width) * channels ||
            size < stride * static_cast<UINT>(r.Height - 1) + static_cast<UINT>(r.Width) * channels) {
            return E_INVALIDARG;
        }
        for (UINT y = 0; y < static_cast<UINT>(r.Height); ++y) {
            for (UINT x = 0; x < static_cast<UINT>(r.Width); ++x) {
                const UINT left = (r.X + x) * divisor, top = (r.Y + y) * divisor;
                const UINT right = std::min(left + divisor, width_), bottom = std::min(top + divisor, height_);
                UINT sums[3] = {};
                for (UINT v = top; v < bottom; ++v) {
                    for (UINT u = left; u < right; ++u) {
                        for (int c = 0; c < 3; ++c) sums[c] += bgr_[(static_cast<std::size_t>(v) * width_ + u) * 3 + c];
                    }
                }
                const UINT count = (right - left) * (bottom - top);
                for (UINT c = 0; c < channels; ++c) out[y * stride + x * channels + c] = static_cast<BYTE>((sums[c] + count / 2) / count);
            }
        }
        return S_OK;
    }

    UINT width_, height_;
    const std::vector<BYTE>& bgr_;
    bool reduces_;
    bool gray_;
    bool reducedCopiesFail_;
    ULONG references_ = 1;
};

TEST(ReducedDecode, DecodesAtTheSmallestSizeNotBelowTheDrawnSize) {
    const ComApartment com;
    ComPtr<IWICImagingFactory> factory;
    ASSERT_EQ(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put())), S_OK);
    struct Row {
        PictureSize stored;
        Orientation orientation;
        int screenWidth, screenHeight;
        PictureSize decoded;  // the stored size when there is no reduced decode
        bool oneCopy;         // the reduced picture fits one band of kBandBytes
        bool gray = false;    // a gray JPEG: its reduced decode is gray too
    };
    const Row rows[] = {
        {{2048, 1536}, Orientation::Normal, 512, 384, {512, 384}, true},    // 1/4; 1/8 is too small
        {{2048, 1536}, Orientation::Rotate90, 384, 512, {512, 384}, true},  // sizes as stored
        {{2048, 1536}, Orientation::Normal, 256, 192, {256, 192}, true},    // 1/8
        {{2048, 1536}, Orientation::Normal, 128, 96, {256, 192}, true},     // 1/16 would do; 1/8 is the least offered
        {{3000, 2000}, Orientation::Normal, 1024, 768, {1500, 1000}, false},  // 4.5 MB; 1/4 is too small
        {{1500, 1000}, Orientation::Normal, 1024, 768, {1500, 1000}, false},  // 1/2 is too small
        {{2048, 1536}, Orientation::Normal, 512, 384, {512, 384}, true, true},
    };
    const std::atomic<bool> stop{false};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.stored.width << "x" << row.stored.height << " on " << row.screenWidth << "x"
                                        << row.screenHeight);
        const std::vector<BYTE> bgr = Photo(row.stored.width, row.stored.height);
        StandInJpegFrame full(row.stored.width, row.stored.height, bgr, false, row.gray);
        StandInJpegFrame reducing(row.stored.width, row.stored.height, bgr, true, row.gray);
        const auto expected =
            RenderFrame(factory.get(), &full, row.orientation, nullptr, row.screenWidth, row.screenHeight, stop, L"full");
        const auto reduced =
            RenderFrame(factory.get(), &reducing, row.orientation, nullptr, row.screenWidth, row.screenHeight, stop, L"reduced");
        ASSERT_TRUE(expected && reduced);

        // Copies of the decoded size, in bands that tile it top to bottom.
        const bool reduces = row.decoded.width != row.stored.width;
        INT top = 0;
        for (const StandInJpegFrame::ReducedCopy& copy : reducing.copies) {
            EXPECT_EQ(copy.width, row.decoded.width);
            EXPECT_EQ(copy.height, row.decoded.height);
            EXPECT_TRUE(copy.rect.X == 0 && copy.rect.Y == top && copy.rect.Width == static_cast<INT>(row.decoded.width))
                << "a copy of rows " << copy.rect.Y << " to " << copy.rect.Y + copy.rect.Height << " after " << top;
            top += copy.rect.Height;
        }
        EXPECT_EQ(top, reduces ? static_cast<INT>(row.decoded.height) : 0);
        EXPECT_EQ(reducing.copies.size() == 1, row.oneCopy) << reducing.copies.size() << " copies";

        int worst = 0;
        for (std::size_t i = 0; i < expected->screen.pixels.size(); ++i) {
            for (int shift = 0; shift < 24; shift += 8) {
                const int a = static_cast<int>(expected->screen.pixels[i] >> shift & 0xFF);
                worst = std::max(worst, std::abs(a - static_cast<int>(reduced->screen.pixels[i] >> shift & 0xFF)));
            }
        }
        EXPECT_LE(worst, 1) << "levels apart from the full-size decode";
    }
}

TEST(ReducedDecode, AFailedReducedCopyIsDecodedAtFullSizeInstead) {
    const ComApartment com;
    ComPtr<IWICImagingFactory> factory;
    ASSERT_EQ(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put())), S_OK);
    const std::vector<BYTE> bgr = Photo(2048, 1536);
    StandInJpegFrame full(2048, 1536, bgr, false);
    StandInJpegFrame failing(2048, 1536, bgr, true, false, true);
    const std::atomic<bool> stop{false};
    const auto expected = RenderFrame(factory.get(), &full, Orientation::Normal, nullptr, 512, 384, stop, L"full");
    const auto fallen = RenderFrame(factory.get(), &failing, Orientation::Normal, nullptr, 512, 384, stop, L"failing");
    EXPECT_FALSE(failing.copies.empty()) << "the reduced decode was not tried";
    ASSERT_TRUE(expected && fallen) << "no screen after a failed reduced copy";
    EXPECT_TRUE(fallen->screen.pixels == expected->screen.pixels);
}

// The JPEG decoder that refuses a file, here the PNG decoder in its place, leaves it to the
// factory, which finds the decoder that takes it.
TEST(JpegDecoder, AJpegItsDecoderRefusesGoesThroughTheFactory) {
    const ComApartment com;
    ComPtr<IWICImagingFactory> factory;
    ASSERT_EQ(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put())), S_OK);
    const std::string jpeg = e2e::SolidPicture(64, 48, 0x336699, GUID_ContainerFormatJpeg);
    ComPtr<IStream> stream;
    *stream.put() = ::SHCreateMemStream(reinterpret_cast<const BYTE*>(jpeg.data()), static_cast<UINT>(jpeg.size()));
    const auto refusing = [](ComPtr<IWICBitmapDecoder>& decoder) {
        return ::CoCreateInstance(CLSID_WICPngDecoder, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(decoder.put()));
    };
    ComPtr<IWICBitmapDecoder> decoder;
    ASSERT_EQ(OpenDecoder(factory.get(), refusing, true, stream.get(), decoder), S_OK);
    GUID container{};
    EXPECT_TRUE(SUCCEEDED(decoder->GetContainerFormat(&container)) && container == GUID_ContainerFormatJpeg);
}

}  // namespace
}  // namespace tessaro
