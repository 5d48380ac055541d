#pragma once
// Failures the user is never shown (a slide that cannot be read, a window that cannot be made)
// still leave a line for a debugger or a trace: what failed, on what, and why as an HRESULT.

#include <windows.h>

#include <string_view>

namespace tessaro {

// "Tessaro: <what> failed for <subject>: 0x<result>"
void TraceFailure(std::wstring_view what, std::wstring_view subject, HRESULT result);

// "Tessaro: <text>": what a trace should know besides failures, such as why the saver ended.
void TraceNote(std::wstring_view text);

// The calling thread's last Win32 error as an HRESULT; E_FAIL when a failed call set none.
HRESULT LastErrorResult();

}  // namespace tessaro
