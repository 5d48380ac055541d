#include "diagnostics.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace tessaro {

void TraceFailure(std::wstring_view what, std::wstring_view subject, long code) {
    wchar_t hex[16];
    std::swprintf(hex, 16, L"0x%08lX", static_cast<unsigned long>(code));
    std::wstring line = L"Tessaro: ";
    line.append(what);
    line += L" failed for ";
    line.append(subject);
    line += L": ";
    line += hex;
    line += L"\n";
    ::OutputDebugStringW(line.c_str());
}

}  // namespace tessaro
