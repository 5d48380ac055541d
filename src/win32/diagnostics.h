#pragma once
// Failures the user is never shown (a slide that cannot be read, a window that cannot be made)
// still leave a line for a debugger or a trace: what failed, on what, and why as an HRESULT.

#include <windows.h>

#include <string>
#include <string_view>
#include <system_error>

namespace tessaro {

// "Tessaro: <what> failed for <subject>: 0x<result>"
void TraceFailure(std::wstring_view what, std::wstring_view subject, HRESULT result);

// "Tessaro: <text>": what a trace should know besides failures, such as why the saver ended.
void TraceNote(std::wstring_view text);

// The calling thread's last Win32 error as an HRESULT; E_FAIL when a failed call set none.
HRESULT LastErrorResult();

// An error of the C++ library (a thread that could not be started, say) as the HRESULT that means
// the same; E_FAIL for one that has none. Its words are in Describe.
HRESULT ErrorCodeResult(const std::error_code& error);
std::wstring Describe(const std::error_code& error);

// Words of the platform-free code (ASCII) for a trace.
std::wstring Widened(std::string_view text);

}  // namespace tessaro
