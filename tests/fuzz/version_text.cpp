// The About box's texts, from any title, version numbers and copyright notice.

#include "dialog_design/about_texts.h"

#include "common/utf16.h"
#include "fuzz_support.h"

using namespace tessaro;
using tessaro::fuzz::Require;

namespace {

// One decimal number at the start of text, with no sign and no leading zero; the characters it took.
std::size_t ExpectDecimal(std::wstring_view text, unsigned expected) {
    std::size_t length = 0;
    unsigned long long value = 0;
    while (length < text.size() && text[length] >= L'0' && text[length] <= L'9' && length < 20) {
        value = value * 10 + static_cast<unsigned>(text[length] - L'0');
        ++length;
    }
    Require(length > 0 && value == expected, "each version number reads back as itself");
    Require(length == 1 || text[0] != L'0', "no leading zeros");
    return length;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const unsigned numbers[3] = {data.ConsumeIntegral<unsigned>(), data.ConsumeIntegral<unsigned>(),
                                 data.ConsumeIntegral<unsigned>()};
    std::wstring label = VersionLabel(numbers[0], numbers[1], numbers[2]);
    const std::wstring_view prefix = L"ﾊﾞｰｼﾞｮﾝ ";
    Require(label.starts_with(prefix), "the label starts with its word");
    std::wstring_view rest = std::wstring_view(label).substr(prefix.size());
    for (int i = 0; i < 3; ++i) {
        rest.remove_prefix(ExpectDecimal(rest, numbers[i]));
        if (i < 2) {
            Require(!rest.empty() && rest[0] == L'.', "numbers are separated by dots");
            rest.remove_prefix(1);
        }
    }
    Require(rest.empty(), "nothing follows the revision");

    const bool asTitle = data.ConsumeBool();
    const std::wstring text = FromUtf16(fuzz::Utf16Units(data, 2048));
    if (asTitle) {
        const std::wstring caption = AboutCaption(text);
        Require(caption.starts_with(text) && caption.substr(text.size()) == L"のﾊﾞｰｼﾞｮﾝ情報", "the caption is the title and its word");
        return 0;
    }
    const std::wstring copyright = CopyrightWithLineBreaks(text);
    Require(copyright.size() == text.size(), "a pair of blanks becomes a pair of characters");
    Require(copyright.find(L"  ") == std::wstring::npos, "no double blank is left");
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, 2, L"  ") == 0) {
            Require(copyright.compare(i, 2, L"\r\n") == 0, "each pair of blanks from the left is a line break");
            i += 2;
        } else {
            Require(copyright[i] == text[i], "every other character stays");
            ++i;
        }
    }
    return 0;
}
