#pragma once
// COM, from ole32 loaded at run time by the thread that decodes rather than with the program: the
// saver's window comes up without waiting for it. Joins the thread to the multithreaded apartment
// for the object's lifetime.

#include <windows.h>
#include <objbase.h>

#include "win32/unique_resource.h"

namespace tessaro {

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

}  // namespace tessaro
