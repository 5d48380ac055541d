#include "runtime_com.h"

#include "win32/procedure.h"
#include "win32/system_library.h"

namespace tessaro {

RuntimeCom::RuntimeCom() {
    ole32_ = LoadSystemLibrary(L"ole32.dll");
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
