#pragma once

#include <string>
#include <string_view>

namespace tessaro {

// A path that Win32 file functions accept at any length: paths of MAX_PATH (260) UTF-16 units
// or more get the "\\?\" (or "\\?\UNC\") prefix; shorter ones are returned unchanged.
std::wstring ExtendedLengthPath(std::wstring_view path);

}  // namespace tessaro
