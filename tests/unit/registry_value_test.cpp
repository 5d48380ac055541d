#include "sysinfo/registry_value.h"

#include <gtest/gtest.h>

#include "common/utf16.h"

#include <vector>

namespace tessaro {
namespace {

std::vector<std::uint8_t> Utf16(const std::wstring& text, bool terminated) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : ToUtf16(text)) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
    }
    if (terminated) bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

RegistryText Convert(std::uint32_t type, const std::vector<std::uint8_t>& bytes) {
    return ConvertRegistryValue(type, bytes.data(), bytes.size());
}

TEST(RegistryValue, StringsLoseOneTerminatingZero) {
    const std::wstring path = L"C:\\Program Files\\Common Files\\msinfo32.exe";
    EXPECT_EQ(Convert(kRegSz, Utf16(path, true)).read, ValueRead::Text);
    EXPECT_EQ(Convert(kRegSz, Utf16(path, true)).text, path);
    EXPECT_EQ(Convert(kRegSz, Utf16(path, false)).text, path) << "stored without a zero: every character kept";
    EXPECT_EQ(Convert(kRegSz, Utf16(L"C:\\ツール\\情報.exe", true)).text, L"C:\\ツール\\情報.exe");
    EXPECT_EQ(Convert(kRegSz, Utf16(L"C:\\\U0001D49C\\msinfo32.exe", true)).text, L"C:\\\U0001D49C\\msinfo32.exe")
        << "a surrogate pair is one character";
    std::vector<std::uint8_t> twoZeros = Utf16(L"ab", true);
    twoZeros.insert(twoZeros.end(), {0, 0});
    EXPECT_EQ(Convert(kRegSz, twoZeros).text, std::wstring(L"ab\0", 3)) << "only the last zero is dropped";
    EXPECT_EQ(Convert(kRegSz, Utf16(L"", true)).text, L"") << "an empty string is data: its terminating zero";
    EXPECT_FALSE(Convert(kRegSz, Utf16(L"x", true)).needsExpansion);
}

TEST(RegistryValue, ExpandableStringsAreMarkedForExpansion) {
    const RegistryText value = Convert(kRegExpandSz, Utf16(L"%ProgramFiles%\\Tool\\msinfo32.exe", true));
    ASSERT_EQ(value.read, ValueRead::Text);
    EXPECT_EQ(value.text, L"%ProgramFiles%\\Tool\\msinfo32.exe");
    EXPECT_TRUE(value.needsExpansion);
}

TEST(RegistryValue, DwordBecomesItsDecimalText) {
    struct Case {
        std::vector<std::uint8_t> bytes;
        const wchar_t* text;
    };
    const Case cases[] = {
        {{0x2A, 0, 0, 0}, L"42"},
        {{0, 0, 0, 0}, L"0"},
        {{0x78, 0x56, 0x34, 0x12}, L"305419896"},
        {{0xFF, 0xFF, 0xFF, 0xFF}, L"4294967295"},
    };
    for (const Case& c : cases) EXPECT_EQ(Convert(kRegDword, c.bytes).text, c.text);
}

TEST(RegistryValue, WhatCannotBeReadAndWhatHoldsNoData) {
    const std::uint8_t some[4] = {1, 2, 3, 4};
    std::vector<std::uint8_t> big(kRegistryValueBufferBytes + 2, 'a');
    struct Case {
        const char* what;
        std::uint32_t type;
        const std::uint8_t* data;
        std::size_t byteCount;
        ValueRead read;
    };
    const Case cases[] = {
        {"a string with no data", kRegSz, some, 0, ValueRead::NoData},
        {"a DWORD with no data", kRegDword, some, 0, ValueRead::NoData},
        {"another type with no data", 3 /* REG_BINARY */, some, 0, ValueRead::NoData},
        {"a DWORD of three bytes", kRegDword, some, 3, ValueRead::Unreadable},
        {"binary", 3 /* REG_BINARY */, some, 4, ValueRead::Unreadable},
        {"a multi-string", 7 /* REG_MULTI_SZ */, some, 4, ValueRead::Unreadable},
        {"a QWORD", 11 /* REG_QWORD */, some, 4, ValueRead::Unreadable},
        {"more than the buffer holds", kRegSz, big.data(), big.size(), ValueRead::Unreadable},
        {"as much as the buffer holds", kRegSz, big.data(), kRegistryValueBufferBytes, ValueRead::Text},
    };
    for (const Case& c : cases) EXPECT_EQ(ConvertRegistryValue(c.type, c.data, c.byteCount).read, c.read) << c.what;
}

}  // namespace
}  // namespace tessaro
