#pragma once
// Decides what one start of the program does, from the text Windows passes on its command line.

#include <string>
#include <string_view>

namespace tessaro {

enum class LaunchAction {
    PasswordMessage,  // "/A": passwords are not supported; say so and exit
    Settings,         // "/C" or nothing at all: the settings dialog
    Exit,             // "/P": no preview is drawn, exit at once
    Saver,            // anything else: run the saver
};

// The argument text: the command line without the executable's path (quoted or not)
// and without the blanks that separate it from the arguments.
std::wstring_view ArgumentText(std::wstring_view commandLine);

// The switch is the first two characters of the argument text, upper-cased; a blank
// inside those two characters counts ("/ s" runs the saver), and so does a character beyond
// U+FFFF, once, never cut in half.
std::wstring SwitchOf(std::wstring_view argumentText);

// What a start with this argument text does.
LaunchAction ActionFor(std::wstring_view argumentText);

}  // namespace tessaro
