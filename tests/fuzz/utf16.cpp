// UTF-16 units from outside (the command line, registry strings) and back, and character counts.

#include "common/utf16.h"

#include <algorithm>

#include "fuzz_support.h"

using namespace tessaro;
using tessaro::fuzz::Require;

namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Characters, counting a surrogate pair as one.
std::size_t CharacterCount(std::wstring_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i, ++count) {
        if (i + 1 < text.size() && IsHighSurrogate(text[i]) && IsLowSurrogate(text[i + 1])) ++i;
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const std::size_t characters = data.ConsumeIntegralInRange<std::size_t>(0, 64);

    // Whole characters, any of Unicode's, go to units and back unchanged.
    std::wstring scalars;
    const std::size_t scalarCount = data.ConsumeIntegralInRange<std::size_t>(0, 64);
    while (scalars.size() < scalarCount && data.remaining_bytes() >= 3) {
        const auto code = data.ConsumeIntegralInRange<std::uint32_t>(0, 0x10FFFF - 0x800);
        scalars += static_cast<wchar_t>(code < 0xD800 ? code : code + 0x800);  // surrogates are not characters
    }
    Require(FromUtf16(ToUtf16(scalars)) == scalars, "characters come back from their units");

    const std::u16string units = fuzz::Utf16Units(data, 4096);
    Require(ToUtf16(FromUtf16(units)) == units, "any units, lone surrogates too, come back as they were");

    // The same units one per wchar_t, as a wstring holds them on Windows, and as joined here.
    const std::wstring windowsText(units.begin(), units.end());
    for (const std::wstring& text : {windowsText, FromUtf16(units)}) {
        const std::size_t end = PrefixLength(text, characters);
        Require(end <= text.size(), "a prefix stays inside the text");
        Require(end == 0 || end == text.size() || !(IsHighSurrogate(text[end - 1]) && IsLowSurrogate(text[end])),
                "a prefix never cuts a surrogate pair");
        Require(CharacterCount(std::wstring_view(text).substr(0, end)) == std::min(characters, CharacterCount(text)),
                "a prefix holds as many characters as asked, or all there are");
    }
    return 0;
}
