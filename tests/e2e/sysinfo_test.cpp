// The About box's System Information button against real registry values and files of the test
// prefix. A stand-in tool records every start beside itself.

#include <filesystem>
#include <fstream>

#include "dialog_test_support.h"

namespace tessaro::e2e {
namespace {

namespace fs = std::filesystem;

constexpr wchar_t kPathKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr wchar_t kFolderKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr wchar_t kUnavailable[] = L"この環境ではシステム情報を使用できません。";

std::wstring ProgramFiles() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::ExpandEnvironmentStringsW(L"%ProgramFiles%", path, MAX_PATH);
    return std::wstring(path, length ? length - 1 : 0);
}

void SetNoData(const wchar_t* key, const wchar_t* value) {
    ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, value, REG_SZ, nullptr, 0), ERROR_SUCCESS);
}

void SetAttributes(const std::wstring& path, DWORD attributes) {
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), attributes));
}

void SetString(const wchar_t* key, const wchar_t* value, const std::wstring& text, DWORD type = REG_SZ) {
    ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, value, type, text.c_str(),
                                static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

int Starts(const std::wstring& tool) {
    std::ifstream marker(fs::path(tool + L".ran"));
    int lines = 0;
    for (std::string line; std::getline(marker, line);) ++lines;
    return lines;
}

// Each test gets the two registry values absent, a stand-in tool in a folder with blanks under
// Program Files, and a decoy at C:\Program.exe; all of it is removed afterwards.
class SysInfoLauncher : public SettingsSession {
protected:
    void SetUp() override {
        RemoveValues();
        fs::create_directories(fs::path(toolFolder_));
        fs::copy_file(fs::path(BuiltFile(L"fake_tool.exe")), fs::path(tool_), fs::copy_options::overwrite_existing);
        fs::copy_file(fs::path(BuiltFile(L"fake_tool.exe")), fs::path(decoy_), fs::copy_options::overwrite_existing);
        SettingsSession::SetUp();
        if (HasFatalFailure()) return;
        about_ = OpenAboutWithKeys(*process_);
        ASSERT_NE(about_, nullptr);
        LetFocusSettle();
    }

    void TearDown() override {
        RemoveValues();
        std::error_code ignored;
        fs::remove_all(fs::path(toolFolder_), ignored);
        fs::remove(fs::path(decoy_), ignored);
        fs::remove(fs::path(decoy_ + L".ran"), ignored);
    }

    static void RemoveValues() {
        ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kPathKey, L"PATH");
        ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kFolderKey, L"MSINFO");
    }

    // Alt+S, the button's access key, as a user would press it.
    void PressSysInfo() const { PressKeys({VK_MENU, 'S'}); }

    // The failure message, if one appears.
    HWND WaitForMessage(Milliseconds timeout = 3000ms) const {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                for (HWND window : process_->Windows()) {
                    if (window != about_ && window != settings_ && ClassName(window) == kDialogClass) found = window;
                }
                return found != nullptr;
            },
            timeout);
        return found;
    }

    void ExpectUnavailableMessage() {
        HWND message = WaitForMessage();
        ASSERT_NE(message, nullptr) << "no failure message";
        EXPECT_EQ(WindowText(message), L"Tessaro");
        EXPECT_EQ(WindowText(::GetDlgItem(message, 0xFFFF)), kUnavailable);
        PressKey(VK_RETURN);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(message); }, 3000ms));
        EXPECT_TRUE(::IsWindow(about_)) << "the About box stays open after the message";
        EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == about_; }, 3000ms));
        LetFocusSettle();
        PressKey(VK_RETURN);  // OK still closes it
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(about_); }, 3000ms));
    }

    void ExpectStarted(const std::wstring& program, int times = 1) {
        EXPECT_TRUE(WaitUntil([&] { return Starts(program) == times; }, 5000ms))
            << "started " << Starts(program) << " times, expected " << times;
        EXPECT_EQ(WaitForMessage(300ms), nullptr) << "a message although the tool started";
        EXPECT_TRUE(::IsWindow(about_)) << "the About box stays open";
    }

    HWND about_ = nullptr;
    const std::wstring toolFolder_ = ProgramFiles() + L"\\Tessaro Test Tool";
    const std::wstring tool_ = toolFolder_ + L"\\MSINFO32.EXE";
    const std::wstring decoy_ = L"C:\\Program.exe";
};

TEST_F(SysInfoLauncher, StartsTheRegisteredPathWithBlanksAndNeverTheDecoy) {
    SetString(kPathKey, L"PATH", tool_);
    PressSysInfo();
    ExpectStarted(tool_);
    EXPECT_EQ(Starts(decoy_), 0) << "the unquoted path was split at its first blank";
}

TEST_F(SysInfoLauncher, EveryPressStartsTheToolAgain) {
    SetString(kPathKey, L"PATH", tool_);
    PressSysInfo();
    ExpectStarted(tool_, 1);
    PressSysInfo();
    ExpectStarted(tool_, 2);
}

TEST_F(SysInfoLauncher, EnterOnTheFocusedButtonStartsTheTool) {
    SetString(kPathKey, L"PATH", tool_);
    PressKey(VK_TAB);  // OK -> System Information
    ASSERT_EQ(FocusedControl(about_), ::GetDlgItem(about_, IDC_SYSTEM_INFORMATION));
    PressKey(VK_RETURN);
    ExpectStarted(tool_);
}

TEST_F(SysInfoLauncher, ExpandsAnExpandableString) {
    SetString(kPathKey, L"PATH", L"%ProgramFiles%\\Tessaro Test Tool\\MSINFO32.EXE", REG_EXPAND_SZ);
    PressSysInfo();
    ExpectStarted(tool_);
}

TEST_F(SysInfoLauncher, FallsBackToTheFolderOfTheSecondKey) {
    SetString(kFolderKey, L"MSINFO", toolFolder_);
    PressSysInfo();
    ExpectStarted(tool_);
}

TEST_F(SysInfoLauncher, AValueOverTheBufferIsUnreadableSoTheFolderIsUsed) {
    // 600 characters are 1202 bytes in UTF-16: more than the 1024-byte buffer.
    SetString(kPathKey, L"PATH", L"C:\\" + std::wstring(597, L'x'));
    SetString(kFolderKey, L"MSINFO", toolFolder_);
    PressSysInfo();
    ExpectStarted(tool_);
}

TEST_F(SysInfoLauncher, SaysItIsUnavailableWhenNothingCanBeStarted) {
    struct Case {
        const char* situation;
        std::function<void(const std::wstring& toolFolder)> arrange;
    };
    const Case cases[] = {
        {"neither key has its value", [](const std::wstring&) {}},
        {"the folder lacks the tool", [](const std::wstring&) { SetString(kFolderKey, L"MSINFO", L"C:\\windows\\temp"); }},
        {"the registered path names no file; the folder is not tried",
         [](const std::wstring& toolFolder) {
             SetString(kPathKey, L"PATH", L"C:\\Missing Folder\\msinfo32.exe");
             SetString(kFolderKey, L"MSINFO", toolFolder);
         }},
        {"the registered path is a folder", [](const std::wstring& toolFolder) { SetString(kPathKey, L"PATH", toolFolder); }},
        {"the registered path holds no data; that ends the lookup, the folder is not tried",
         [](const std::wstring& toolFolder) {
             SetNoData(kPathKey, L"PATH");
             SetString(kFolderKey, L"MSINFO", toolFolder);
         }},
        {"the folder's tool is hidden",
         [](const std::wstring& toolFolder) {
             SetString(kFolderKey, L"MSINFO", toolFolder);
             SetAttributes(toolFolder + L"\\MSINFO32.EXE", FILE_ATTRIBUTE_HIDDEN);
         }},
        {"the folder's tool is a system file",
         [](const std::wstring& toolFolder) {
             SetString(kFolderKey, L"MSINFO", toolFolder);
             SetAttributes(toolFolder + L"\\MSINFO32.EXE", FILE_ATTRIBUTE_SYSTEM);
         }},
        {"the value is binary", [](const std::wstring&) {
             const BYTE data[] = {1, 2, 3, 4};
             ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, kPathKey, L"PATH", REG_BINARY, data, sizeof(data));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        RemoveValues();
        SetAttributes(tool_, FILE_ATTRIBUTE_NORMAL);
        std::error_code ignored;
        fs::remove(fs::path(tool_ + L".ran"), ignored);  // starts are counted case by case
        c.arrange(toolFolder_);
        if (!::IsWindow(about_)) {
            EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == settings_; }, 3000ms));
            LetFocusSettle();
            about_ = OpenAboutWithKeys(*process_);
        }
        ASSERT_NE(about_, nullptr);
        PressSysInfo();
        ExpectUnavailableMessage();
        EXPECT_EQ(Starts(tool_), 0);
    }
}

}  // namespace
}  // namespace tessaro::e2e
