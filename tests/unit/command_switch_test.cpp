#include "launch/application_folder.h"
#include "launch/command_switch.h"

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
        EXPECT_EQ(ActionFor(c.argumentText), c.expected) << "argument text \"" << c.argumentText << "\"";
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

TEST(ApplicationFolder, KeepsTheBackslashOnlyForADriveRoot) {
    EXPECT_EQ(ApplicationFolder(L"C:\\Tessaro.scr"), L"C:\\");
    EXPECT_EQ(ApplicationFolder(L"C:\\Saver\\Tessaro.scr"), L"C:\\Saver");
    EXPECT_EQ(ApplicationFolder(L"C:\\A\\B C\\Tessaro.scr"), L"C:\\A\\B C");
    EXPECT_EQ(ApplicationFolder(L"\\\\server\\share\\Tessaro.scr"), L"\\\\server\\share");
}

}  // namespace
}  // namespace tessaro
