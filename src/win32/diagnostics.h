#pragma once
// Failures the user is never shown (a slide that cannot be read, a render that fails) still leave
// a line for a debugger or a trace: what failed, on what, and the code.

#include <string_view>

namespace tessaro {

// "Tessaro: <what> failed for <subject>: 0x<code>"
void TraceFailure(std::wstring_view what, std::wstring_view subject, long code);

}  // namespace tessaro
