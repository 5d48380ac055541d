#include "launch/single_instance_name.h"

#include <gtest/gtest.h>

namespace tessaro {
namespace {

TEST(SingleInstance, NameIsThatOfTheFileOnItsVolume) {
    const std::wstring name = SingleInstanceName(FileIdentity{0x43000000, 0x53a0bb});
    EXPECT_EQ(name, L"Local\\Tessaro.SingleInstance.0000000043000000-000000000053a0bb");
    EXPECT_EQ(name, SingleInstanceName(FileIdentity{0x43000000, 0x53a0bb}));
    EXPECT_NE(name, SingleInstanceName(FileIdentity{0x43000000, 0x53a0bc})) << "another file on the same volume";
    EXPECT_NE(name, SingleInstanceName(FileIdentity{0x44000000, 0x53a0bb})) << "the same number on another volume";
    EXPECT_NE(SingleInstanceName(FileIdentity{1, 0x10}), SingleInstanceName(FileIdentity{0x10, 1}));
}

TEST(SingleInstance, NameDependsOnThePathButNotItsCase) {
    const std::wstring name = SingleInstanceName(L"C:\\Saver\\Tessaro.scr");
    EXPECT_EQ(name.rfind(L"Local\\Tessaro.SingleInstance.", 0), 0u);
    EXPECT_EQ(name.find(L'\\', 6), std::wstring::npos) << "a backslash after the namespace would make a bad name";
    EXPECT_EQ(name, SingleInstanceName(L"c:\\saver\\TESSARO.SCR"));
    EXPECT_NE(name, SingleInstanceName(L"C:\\Other\\Tessaro.scr"));
}

TEST(SingleInstance, NameHashesThePathAsUtf16) {
    // FNV-1a over the UTF-16LE bytes of the upper-cased path, the same wherever it is computed.
    EXPECT_EQ(SingleInstanceName(L"c:\\\U0001F600\\tessaro.scr"), L"Local\\Tessaro.SingleInstance.74488679de1df9f6");
    EXPECT_NE(SingleInstanceName(L"C:\\\U0001F600\\Tessaro.scr"), SingleInstanceName(L"C:\\\uF600\\Tessaro.scr"))
        << "a character beyond U+FFFF is not cut to its low 16 bits";
}

}  // namespace
}  // namespace tessaro
