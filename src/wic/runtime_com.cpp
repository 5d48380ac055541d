#include "runtime_com.h"

#include <string>

#include "win32/procedure.h"

namespace tessaro {

RuntimeCom::RuntimeCom() {
    wchar_t system[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    ole32_.reset(::LoadLibraryW((std::wstring(system, length) + L"\\ole32.dll").c_str()));
    const auto initialize = FindProcedure<decltype(&::CoInitializeEx)>(ole32_.get(), "CoInitializeEx");
    uninitialize_ = FindProcedure<decltype(&::CoUninitialize)>(ole32_.get(), "CoUninitialize");
    createInstance_ = FindProcedure<decltype(&::CoCreateInstance)>(ole32_.get(), "CoCreateInstance");
    if (initialize && uninitialize_ && createInstance_) joined_ = initialize(nullptr, COINIT_MULTITHREADED);
}

RuntimeCom::~RuntimeCom() {
    if (SUCCEEDED(joined_)) uninitialize_();
}

HRESULT RuntimeCom::CreateInstance(REFCLSID type, REFIID interfaceId, void** object) const {
    if (FAILED(joined_)) return joined_;
    return createInstance_(type, nullptr, CLSCTX_INPROC_SERVER, interfaceId, object);
}

}  // namespace tessaro
