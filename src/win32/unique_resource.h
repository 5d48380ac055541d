#pragma once
// Single owners for Win32 handles and COM interfaces: nothing is closed or released by hand.

#include <windows.h>
#include <objbase.h>

#include <utility>

namespace tessaro {

// Owns a handle-like value and gives it back with Close when it goes away. Empty is T{}.
template <typename T, auto Close>
class UniqueResource {
public:
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
    explicit operator bool() const { return value_ != T{}; }
    T release() { return std::exchange(value_, T{}); }
    void reset(T value = T{}) {
        if (value_ != T{}) Close(value_);
        value_ = value;
    }
    // For functions that return a new handle through an out parameter.
    T* put() {
        reset();
        return &value_;
    }

private:
    T value_{};
};

using UniqueHandle = UniqueResource<HANDLE, &::CloseHandle>;  // for handles that are null when invalid
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

// Selects a GDI object into a DC for the lifetime of this object.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    ~ScopedSelect() { ::SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
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

// COM for the calling thread, for as long as this object lives.
class ComApartment {
public:
    ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }

private:
    HRESULT result_;
};

}  // namespace tessaro
