#include "utf16.h"

namespace tessaro {
namespace {

constexpr char32_t kFirstSupplementary = 0x10000;

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::u16string ToUtf16(std::wstring_view text) {
    if constexpr (sizeof(wchar_t) == sizeof(char16_t)) {
        return std::u16string(text.begin(), text.end());
    } else {
        std::u16string units;
        units.reserve(text.size());
        for (wchar_t c : text) {
            const auto code = static_cast<char32_t>(c);
            if (code < kFirstSupplementary) {
                units += static_cast<char16_t>(code);
            } else {
                const char32_t offset = code - kFirstSupplementary;
                units += static_cast<char16_t>(0xD800 + (offset >> 10));
                units += static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
            }
        }
        return units;
    }
}

std::wstring FromUtf16(std::u16string_view units) {
    if constexpr (sizeof(wchar_t) == sizeof(char16_t)) {
        return std::wstring(units.begin(), units.end());
    } else {
        std::wstring text;
        text.reserve(units.size());
        for (std::size_t i = 0; i < units.size(); ++i) {
            if (i + 1 < units.size() && IsHighSurrogate(units[i]) && IsLowSurrogate(units[i + 1])) {
                const char32_t code = kFirstSupplementary + ((char32_t{units[i]} - 0xD800) << 10) + (units[i + 1] - 0xDC00);
                text += static_cast<wchar_t>(code);
                ++i;
            } else {
                text += static_cast<wchar_t>(units[i]);
            }
        }
        return text;
    }
}

std::size_t PrefixLength(std::wstring_view text, std::size_t characters) {
    std::size_t end = 0;
    for (std::size_t taken = 0; taken < characters && end < text.size(); ++taken) {
        const bool pair = end + 1 < text.size() && IsHighSurrogate(static_cast<char32_t>(text[end])) &&
                          IsLowSurrogate(static_cast<char32_t>(text[end + 1]));
        end += pair ? 2 : 1;
    }
    return end;
}

}  // namespace tessaro
