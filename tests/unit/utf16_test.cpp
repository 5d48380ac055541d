#include "common/utf16.h"

#include <gtest/gtest.h>

namespace tessaro {
namespace {

TEST(Utf16, CharactersBeyondTheBasicPlaneAreSurrogatePairs) {
    struct Case {
        const wchar_t* text;
        std::u16string units;
    };
    const Case cases[] = {
        {L"", u""},
        {L"C:\\Saver", u"C:\\Saver"},
        {L"ﾃｽﾄ 設定", u"ﾃｽﾄ 設定"},
        {L"\U0001F600", u"\xD83D\xDE00"},
        {L"a\U0001D49Cb\U0010FFFF", u"a\xD835\xDC9C" u"b\xDBFF\xDFFF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToUtf16(c.text), c.units) << "from " << c.text;
        EXPECT_EQ(FromUtf16(c.units), c.text) << "back to " << c.text;
    }
}

TEST(Utf16, LoneSurrogatesAreKeptAsTheyAre) {
    EXPECT_EQ(FromUtf16(u"a\xD83D"), std::wstring(L"a") + static_cast<wchar_t>(0xD83D));
    EXPECT_EQ(FromUtf16(u"\xDE00z"), std::wstring(1, static_cast<wchar_t>(0xDE00)) + L"z");
}

TEST(Utf16, PrefixLengthNeverCutsAPairInTwo) {
    struct Case {
        std::wstring text;
        std::size_t characters;
        std::wstring prefix;
    };
    const Case cases[] = {
        {L"/c:1234", 2, L"/c"},
        {L"/", 2, L"/"},
        {L"", 2, L""},
        {L"\U0001F600c", 2, L"\U0001F600c"},
        {L"\U0001F600c", 1, L"\U0001F600"},
        {L"/\U0001F600x", 2, L"/\U0001F600"},
        {L"\U0001F600\U0001F600\U0001F600", 2, L"\U0001F600\U0001F600"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.text.substr(0, PrefixLength(c.text, c.characters)), c.prefix)
            << c.characters << " characters of " << c.text;
    }
}

}  // namespace
}  // namespace tessaro
