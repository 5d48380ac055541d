#include "long_path.h"

namespace tessaro {

std::wstring ExtendedLengthPath(std::wstring_view path) {
    constexpr std::size_t kMaxPath = 260;
    if (path.size() < kMaxPath || path.substr(0, 4) == L"\\\\?\\") return std::wstring(path);
    if (path.substr(0, 2) == L"\\\\") return L"\\\\?\\UNC\\" + std::wstring(path.substr(2));
    return L"\\\\?\\" + std::wstring(path);
}

}  // namespace tessaro
