#pragma once
// Text as Windows keeps it: UTF-16 code units. Where wchar_t is 16 bits (Windows) a wstring is
// already that; where it is 32 bits, a character beyond U+FFFF is one wchar_t but two units.

#include <cstddef>
#include <string>
#include <string_view>

namespace tessaro {

std::u16string ToUtf16(std::wstring_view text);

// Surrogate pairs become one wchar_t where wchar_t is 32 bits; a lone surrogate stays as it is.
std::wstring FromUtf16(std::u16string_view units);

// How many wchar_t the first `characters` characters of text take: a surrogate pair is one
// character, never cut in two.
std::size_t PrefixLength(std::wstring_view text, std::size_t characters);

// c upper-cased when it is an ASCII letter, else c itself.
constexpr wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

}  // namespace tessaro
