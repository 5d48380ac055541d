#pragma once
// Single owners for Win32 handles and COM interfaces: nothing is closed or released by hand.

#include <windows.h>

#include <cstdint>
#include <utility>

namespace tessaro {

// Owns a handle-like value and gives it back with Close when it goes away. Empty is the value
// InvalidValue stands for: null for most handles, INVALID_HANDLE_VALUE (-1) for files.
template <typename T, auto Close, std::intptr_t InvalidValue = 0>
class UniqueResource {
public:
    static T Invalid() { return reinterpret_cast<T>(InvalidValue); }

    UniqueResource() = default;
    explicit UniqueResource(T value) : value_(value) {}
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { reset(); }

    T get() const { return value_; }
    explicit operator bool() const { return value_ != Invalid(); }
    T release() { return std::exchange(value_, Invalid()); }
    void reset(T value = Invalid()) {
        if (value_ != Invalid()) Close(value_);
        value_ = value;
    }
    // For functions that return a new handle through an out parameter.
    T* put() {
        reset();
        return &value_;
    }

private:
    T value_ = Invalid();
};

using UniqueHandle = UniqueResource<HANDLE, &::CloseHandle>;  // for handles that are null when invalid
using UniqueFile = UniqueResource<HANDLE, &::CloseHandle, -1>;  // CreateFileW's INVALID_HANDLE_VALUE
using UniqueHkey = UniqueResource<HKEY, &::RegCloseKey>;
using UniqueHdc = UniqueResource<HDC, &::DeleteDC>;
using UniqueBitmap = UniqueResource<HBITMAP, &::DeleteObject>;
using UniqueFont = UniqueResource<HFONT, &::DeleteObject>;
using UniqueIcon = UniqueResource<HICON, &::DestroyIcon>;  // not for shared (LR_SHARED) icons
using UniqueModule = UniqueResource<HMODULE, &::FreeLibrary>;

// A device context from GetDC, given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A window's paint: BeginPaint, and EndPaint when it goes.
class WindowPaint {
public:
    explicit WindowPaint(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
    WindowPaint(const WindowPaint&) = delete;
    WindowPaint& operator=(const WindowPaint&) = delete;
    ~WindowPaint() { ::EndPaint(window_, &paint_); }
    HDC Dc() const { return dc_; }
    const RECT& Area() const { return paint_.rcPaint; }  // what needs painting

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { reset(); }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    T** put() {
        reset();
        return &p_;
    }
    void reset() {
        if (p_) std::exchange(p_, nullptr)->Release();
    }

private:
    T* p_ = nullptr;
};

}  // namespace tessaro
