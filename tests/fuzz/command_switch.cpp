// The command line Windows passes, taken apart into the switch, and the single-instance names.

#include "launch/command_switch.h"
#include "launch/single_instance_name.h"

#include "common/utf16.h"
#include "fuzz_support.h"

using namespace tessaro;
using tessaro::fuzz::Require;

namespace {

// Written out here rather than taken from the code under test.
std::wstring UpperAscii(std::wstring_view text) {
    std::wstring upper(text);
    for (wchar_t& c : upper) c = (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
    return upper;
}

LaunchAction ExpectedAction(const std::wstring& switchText) {
    if (switchText == L"/A") return LaunchAction::PasswordMessage;
    if (switchText == L"/C" || switchText.empty()) return LaunchAction::Settings;
    if (switchText == L"/P") return LaunchAction::Exit;
    return LaunchAction::Saver;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const FileIdentity identity{data.ConsumeIntegral<std::uint64_t>(), data.ConsumeIntegral<std::uint64_t>()};
    const std::wstring commandLine = FromUtf16(fuzz::Utf16Units(data, 4096));

    const std::wstring_view arguments = ArgumentText(commandLine);
    Require(arguments.size() <= commandLine.size() &&
                commandLine.compare(commandLine.size() - arguments.size(), arguments.size(), arguments) == 0,
            "the argument text is the end of the command line");
    Require(arguments.empty() || (arguments[0] != L' ' && arguments[0] != L'\t'), "the argument text starts after the blanks");
    Require(ArgumentText(L"\"C:\\Program Files\\Tessaro.scr\" \t" + std::wstring(arguments)) == arguments,
            "behind a quoted path the same arguments are found");

    const std::wstring switchText = SwitchOf(arguments);
    Require(switchText.size() <= arguments.size() && PrefixLength(switchText, 2) == switchText.size(),
            "the switch is at most two characters");
    Require(switchText == UpperAscii(arguments.substr(0, switchText.size())), "the switch is the upper-cased start");
    Require(switchText.size() == PrefixLength(arguments, 2), "the switch takes two whole characters");
    Require(ActionFor(arguments) == ExpectedAction(switchText), "the action follows from the switch");
    Require(ActionFor(UpperAscii(arguments)) == ActionFor(arguments), "the switch's letter case does not count");

    const std::wstring_view prefix = L"Local\\Tessaro.SingleInstance.";
    const std::wstring byPath = SingleInstanceName(commandLine);
    Require(byPath.size() == prefix.size() + 16 && byPath.starts_with(prefix) &&
                byPath.find(L'\\', prefix.size()) == std::wstring::npos,
            "a path gives one kernel object name without backslashes");
    Require(SingleInstanceName(UpperAscii(commandLine)) == byPath, "a path names the same instance in any letter case");
    const std::wstring byFile = SingleInstanceName(identity);
    Require(byFile.size() == prefix.size() + 33 && byFile.starts_with(prefix), "a file identity gives one name");
    return 0;
}
