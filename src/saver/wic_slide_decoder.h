#pragma once
// Slides decoded with the Windows Imaging Component: the format is found from the content, never
// from the name, and the picture is pulled in bands of rows and scaled straight into the screen.

#include <windows.h>
#include <wincodec.h>

#include "slide_worker.h"
#include "../win32/unique_resource.h"

namespace tessaro {

// COM, from ole32 loaded at run time by the thread that decodes rather than with the program:
// the saver's window comes up without waiting for it. Joins the thread to the multithreaded
// apartment for the object's lifetime.
class RuntimeCom {
public:
    RuntimeCom();
    ~RuntimeCom();
    RuntimeCom(const RuntimeCom&) = delete;
    RuntimeCom& operator=(const RuntimeCom&) = delete;

    HRESULT CreateInstance(REFCLSID type, REFIID interfaceId, void** object) const;

private:
    UniqueModule ole32_;
    decltype(&::CoUninitialize) uninitialize_ = nullptr;
    decltype(&::CoCreateInstance) createInstance_ = nullptr;
    HRESULT joined_ = E_FAIL;
};

class WicSlideDecoder final : public SlideDecoder {
public:
    WicSlideDecoder();

    std::optional<FileSignature> Signature(const std::wstring& path) override;
    std::optional<SlideFrame> Render(const std::wstring& path, int screenWidth, int screenHeight,
                                     const std::atomic<bool>& stop) override;

private:
    std::optional<SlideFrame> RenderFile(HANDLE file, const std::wstring& path, int screenWidth, int screenHeight,
                                         const std::atomic<bool>& stop);

    RuntimeCom com_;
    ComPtr<IWICImagingFactory> factory_;
    HRESULT factoryMade_;  // why every slide fails when there is no factory
};

}  // namespace tessaro
