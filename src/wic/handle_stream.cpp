#include "handle_stream.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <new>

#include "win32/diagnostics.h"

namespace tessaro {
namespace {

class HandleStream final : public IStream {
public:
    explicit HandleStream(HANDLE file) : file_(file) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (!out) return E_POINTER;
        if (id == IID_IUnknown || id == IID_ISequentialStream || id == IID_IStream) {
            *out = static_cast<IStream*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // Decoders ask for a kilobyte or so at a time; the file is read a buffer at a time.
    HRESULT STDMETHODCALLTYPE Read(void* out, ULONG size, ULONG* read) override {
        auto* to = static_cast<BYTE*>(out);
        ULONG done = 0;
        HRESULT result = S_OK;
        while (done < size) {
            if (position_ < bufferStart_ || position_ >= bufferStart_ + buffered_) {
                if (FAILED(result = Fill())) break;
                if (buffered_ == 0) break;  // the end of the file
            }
            const auto offset = static_cast<std::size_t>(position_ - bufferStart_);
            const ULONG part = static_cast<ULONG>(std::min<std::size_t>(size - done, buffered_ - offset));
            std::memcpy(to + done, buffer_.data() + offset, part);
            done += part;
            position_ += part;
        }
        if (read) *read = done;
        if (FAILED(result)) return result;
        return done == size ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* moved) override {
        LONGLONG base = 0;
        switch (origin) {
            case STREAM_SEEK_SET: break;
            case STREAM_SEEK_CUR: base = static_cast<LONGLONG>(position_); break;
            case STREAM_SEEK_END: {
                LARGE_INTEGER size{};
                if (!::GetFileSizeEx(file_, &size)) return LastErrorResult();
                base = size.QuadPart;
                break;
            }
            default: return STG_E_INVALIDFUNCTION;
        }
        // Neither before the start nor past what a position holds; base is never negative, so
        // -base is always a number, where -move would not be for the most negative move.
        if (move.QuadPart < 0 ? move.QuadPart < -base : move.QuadPart > MAXLONGLONG - base) return STG_E_INVALIDFUNCTION;
        position_ = static_cast<ULONGLONG>(base + move.QuadPart);
        if (moved) moved->QuadPart = position_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override {
        if (!stat) return STG_E_INVALIDPOINTER;
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(file_, &size)) return LastErrorResult();
        *stat = STATSTG{};
        stat->type = STGTY_STREAM;
        stat->cbSize.QuadPart = static_cast<ULONGLONG>(size.QuadPart);
        stat->grfMode = STGM_READ;
        return S_OK;
    }

    // A slide is only read.
    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

private:
    ~HandleStream() = default;

    // Reads the buffer's worth of the file from the position on. Plain sequential reads, with the
    // file pointer moved only after a seek: under Wine a read at an explicit offset or a move of
    // the pointer costs far more than a read where the last one ended.
    HRESULT Fill() {
        if (position_ != filePointer_) {
            LARGE_INTEGER to{};
            to.QuadPart = static_cast<LONGLONG>(position_);
            if (!::SetFilePointerEx(file_, to, nullptr, FILE_BEGIN)) return LastErrorResult();
            filePointer_ = position_;
        }
        bufferStart_ = position_;
        buffered_ = 0;
        DWORD got = 0;
        if (!::ReadFile(file_, buffer_.data(), static_cast<DWORD>(buffer_.size()), &got, nullptr)) {
            filePointer_ = kUnknown;
            return LastErrorResult();
        }
        filePointer_ += got;
        buffered_ = got;
        return S_OK;
    }

    static constexpr ULONGLONG kUnknown = ~0ull;

    HANDLE file_;
    ULONGLONG position_ = 0;
    ULONGLONG filePointer_ = kUnknown;  // where the handle's own pointer is
    std::array<BYTE, 64 * 1024> buffer_{};
    ULONGLONG bufferStart_ = 0;
    std::size_t buffered_ = 0;
    std::atomic<ULONG> references_{1};
};

}  // namespace

ComPtr<IStream> MakeHandleStream(HANDLE file) {
    ComPtr<IStream> stream;
    if (IStream* made = new (std::nothrow) HandleStream(file)) *stream.put() = made;
    return stream;
}

}  // namespace tessaro
