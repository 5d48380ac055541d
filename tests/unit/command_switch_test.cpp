#include "startup/command_switch.h"

#include <gtest/gtest.h>

namespace tessaro {
namespace {

TEST(CommandSwitch, DispatchesOnTheFirstTwoCharactersUpperCased) {
    struct Case {
        const wchar_t* argumentText;
        LaunchAction expected;
    };
    const Case cases[] = {
        {L"/a", LaunchAction::PasswordMessage},
        {L"/A 12345", LaunchAction::PasswordMessage},
        {L"/c", LaunchAction::Settings},
        {L"/C", LaunchAction::Settings},
        {L"/c:1234", LaunchAction::Settings},
        {L"/C 1234", LaunchAction::Settings},
        {L"/CONFIG", LaunchAction::Settings},
        {L"", LaunchAction::Settings},
        {L"/p", LaunchAction::Exit},
        {L"/p 12345", LaunchAction::Exit},
        {L"/PREVIEW", LaunchAction::Exit},
        {L"/s", LaunchAction::Saver},
        {L"/S", LaunchAction::Saver},
        {L"-s", LaunchAction::Saver},
        {L"/X", LaunchAction::Saver},
        {L"/SAVE", LaunchAction::Saver},
        {L"/", LaunchAction::Saver},      // one character, compared as such
        {L"/ s", LaunchAction::Saver},    // the blank is the second character
        {L" /c", LaunchAction::Saver},    // only blanks after the program path are skipped
        {L"-c", LaunchAction::Saver},
        {L"\u30D1/c", LaunchAction::Saver},
        {L"\U0001F600c", LaunchAction::Saver},  // beyond U+FFFF: two UTF-16 units, one character
        {L"/\U0001F600", LaunchAction::Saver},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DispatchSwitch(c.argumentText), c.expected) << "argument text \"" << c.argumentText << "\"";
    }
}

TEST(CommandSwitch, SwitchIsAtMostTwoCharacters) {
    EXPECT_EQ(SwitchOf(L"/config"), L"/C");
    EXPECT_EQ(SwitchOf(L"/"), L"/");
    EXPECT_EQ(SwitchOf(L""), L"");
    EXPECT_EQ(SwitchOf(L"/\u00e9"), L"/\u00e9");  // only ASCII letters change case
    // A character beyond U+FFFF counts once and is never cut in half.
    EXPECT_EQ(SwitchOf(L"\U0001F600c:1"), L"\U0001F600C");
    EXPECT_EQ(SwitchOf(L"/\U0001F600x"), L"/\U0001F600");
}

TEST(CommandSwitch, ArgumentTextDropsTheProgramPathAndItsBlanks) {
    struct Case {
        const wchar_t* commandLine;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"C:\\Saver\\Tessaro.scr /s", L"/s"},
        {L"\"C:\\Program Files\\Tessaro\\Tessaro.scr\" /c:1234", L"/c:1234"},
        {L"\"C:\\Program Files\\Tessaro.scr\"   /p 42", L"/p 42"},
        {L"Tessaro.scr\t/a", L"/a"},
        {L"Tessaro.scr", L""},
        {L"\"C:\\A B\\Tessaro.scr\"", L""},
        {L"Tessaro.scr    ", L""},
        {L"Tessaro.scr / s", L"/ s"},
        {L"\"unterminated path /s", L""},
        {L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ArgumentText(c.commandLine), c.expected) << "command line " << c.commandLine;
    }
}

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
