#include "long_path.h"

#include "utf16.h"

namespace tessaro {

std::wstring ExtendedLengthPath(std::wstring_view path) {
    constexpr std::size_t kMaxPath = 260;
    // The limit counts UTF-16 units, as Windows stores the path.
    if (ToUtf16(path).size() < kMaxPath || path.substr(0, 4) == L"\\\\?\\") return std::wstring(path);
    if (path.substr(0, 2) == L"\\\\") return L"\\\\?\\UNC\\" + std::wstring(path.substr(2));
    return L"\\\\?\\" + std::wstring(path);
}

}  // namespace tessaro
