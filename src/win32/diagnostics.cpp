#include "diagnostics.h"

#include <cwchar>
#include <string>

namespace tessaro {
namespace {

void WriteLine(std::wstring_view text) {
    std::wstring line = L"Tessaro: ";
    line.append(text);
    line += L"\n";
    ::OutputDebugStringW(line.c_str());
}

}  // namespace

void TraceFailure(std::wstring_view what, std::wstring_view subject, HRESULT result) {
    wchar_t hex[16];
    std::swprintf(hex, 16, L"0x%08lX", static_cast<unsigned long>(result));
    std::wstring text(what);
    text += L" failed for ";
    text.append(subject);
    text += L": ";
    text += hex;
    WriteLine(text);
}

void TraceNote(std::wstring_view text) { WriteLine(text); }

HRESULT LastErrorResult() {
    const DWORD error = ::GetLastError();
    return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

HRESULT ErrorCodeResult(const std::error_code& error) {
    if (error == std::errc::not_enough_memory) return E_OUTOFMEMORY;
    if (error == std::errc::resource_unavailable_try_again) return HRESULT_FROM_WIN32(ERROR_NO_SYSTEM_RESOURCES);
    if (error == std::errc::invalid_argument) return E_INVALIDARG;
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted) return E_ACCESSDENIED;
    return E_FAIL;
}

std::wstring Describe(const std::error_code& error) { return Widened(error.message()); }

std::wstring Widened(std::string_view text) { return std::wstring(text.begin(), text.end()); }

}  // namespace tessaro
