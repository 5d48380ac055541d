#include "command_switch.h"

#include <cstdint>
#include <cstdio>

#include "../common/utf16.h"

namespace tessaro {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

constexpr wchar_t kInstancePrefix[] = L"Local\\Tessaro.SingleInstance.";

std::wstring Hex(std::uint64_t value) {
    wchar_t hex[17];
    std::swprintf(hex, 17, L"%016llx", static_cast<unsigned long long>(value));
    return hex;
}

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

LaunchAction DispatchSwitch(std::wstring_view argumentText) {
    const std::wstring switchText = SwitchOf(argumentText);
    if (switchText == L"/A") return LaunchAction::PasswordMessage;
    if (switchText == L"/C") return LaunchAction::Settings;
    if (switchText == L"/P") return LaunchAction::Exit;
    if (switchText.empty()) return LaunchAction::Settings;
    return LaunchAction::Saver;
}

std::wstring SingleInstanceName(const FileIdentity& executable) {
    return kInstancePrefix + Hex(executable.volume) + L"-" + Hex(executable.file);
}

std::wstring SingleInstanceName(std::wstring_view executablePath) {
    // FNV-1a over the upper-cased path as UTF-16: NTFS paths compare without case, and a
    // kernel object name may not contain backslashes, so the path itself cannot be used.
    std::wstring upper(executablePath);
    for (wchar_t& c : upper) c = AsciiUpper(c);
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (char16_t unit : ToUtf16(upper)) {
        for (int shift = 0; shift < 16; shift += 8) {
            hash ^= (unit >> shift) & 0xFFu;
            hash *= 0x100000001b3ull;
        }
    }
    return kInstancePrefix + Hex(hash);
}

}  // namespace tessaro
