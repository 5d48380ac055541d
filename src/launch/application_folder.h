#pragma once
// The folder the program runs from, where its slides are.

#include <string>
#include <string_view>

namespace tessaro {

// The folder that holds the executable: no trailing backslash, except for a drive's root ("C:\").
std::wstring ApplicationFolder(std::wstring_view executablePath);

}  // namespace tessaro
