#include "diagnostics.h"

#include <cwchar>
#include <string>

namespace tessaro {

void TraceFailure(std::wstring_view what, std::wstring_view subject, HRESULT result) {
    wchar_t hex[16];
    std::swprintf(hex, 16, L"0x%08lX", static_cast<unsigned long>(result));
    std::wstring line = L"Tessaro: ";
    line.append(what);
    line += L" failed for ";
    line.append(subject);
    line += L": ";
    line += hex;
    line += L"\n";
    ::OutputDebugStringW(line.c_str());
}

HRESULT LastErrorResult() {
    const DWORD error = ::GetLastError();
    return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

}  // namespace tessaro
