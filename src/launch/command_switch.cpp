#include "command_switch.h"

#include "common/utf16.h"

namespace tessaro {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

std::wstring_view ArgumentText(std::wstring_view commandLine) {
    std::size_t pos = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const std::size_t closing = commandLine.find(L'"', 1);
        pos = closing == std::wstring_view::npos ? commandLine.size() : closing + 1;
    }
    while (pos < commandLine.size() && !IsBlank(commandLine[pos])) ++pos;
    while (pos < commandLine.size() && IsBlank(commandLine[pos])) ++pos;
    return commandLine.substr(pos);
}

std::wstring SwitchOf(std::wstring_view argumentText) {
    std::wstring result(argumentText.substr(0, PrefixLength(argumentText, 2)));
    for (wchar_t& c : result) c = AsciiUpper(c);
    return result;
}

LaunchAction ActionFor(std::wstring_view argumentText) {
    const std::wstring switchText = SwitchOf(argumentText);
    if (switchText == L"/A") return LaunchAction::PasswordMessage;
    if (switchText == L"/C") return LaunchAction::Settings;
    if (switchText == L"/P") return LaunchAction::Exit;
    if (switchText.empty()) return LaunchAction::Settings;
    return LaunchAction::Saver;
}

}  // namespace tessaro
