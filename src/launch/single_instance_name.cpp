#include "single_instance_name.h"

#include <cstdint>
#include <cstdio>

#include "common/utf16.h"

namespace tessaro {
namespace {

constexpr wchar_t kInstancePrefix[] = L"Local\\Tessaro.SingleInstance.";

std::wstring Hex(std::uint64_t value) {
    wchar_t hex[17];
    std::swprintf(hex, 17, L"%016llx", static_cast<unsigned long long>(value));
    return hex;
}

}  // namespace

std::wstring SingleInstanceName(const FileIdentity& executable) {
    return kInstancePrefix + Hex(executable.volume) + L"-" + Hex(executable.file);
}

std::wstring SingleInstanceName(std::wstring_view executablePath) {
    // FNV-1a over the upper-cased path as UTF-16: NTFS paths compare without case, and a
    // kernel object name may not contain backslashes, so the path itself cannot be used.
    std::wstring upper(executablePath);
    for (wchar_t& c : upper) c = AsciiUpper(c);
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (char16_t unit : ToUtf16(upper)) {
        for (int shift = 0; shift < 16; shift += 8) {
            hash ^= (unit >> shift) & 0xFFu;
            hash *= 0x100000001b3ull;
        }
    }
    return kInstancePrefix + Hex(hash);
}

}  // namespace tessaro
