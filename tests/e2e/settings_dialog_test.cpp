// The settings dialog: texts, layout, keys and how it ends.

#include "dialog_test_support.h"

namespace tessaro::e2e {
namespace {

void ExpectRect(const RECT& actual, const RECT& expected, const char* what) {
    EXPECT_EQ(actual.left, expected.left) << what;
    EXPECT_EQ(actual.top, expected.top) << what;
    EXPECT_EQ(actual.right, expected.right) << what;
    EXPECT_EQ(actual.bottom, expected.bottom) << what;
}

TEST(SettingsDialog, ShowsItsTextsAndLayoutForEverySettingsSwitch) {
    const SaverFolder folder;
    for (const wchar_t* arguments : {L"/c", L"/C", L"/c:1234", L"/C 1234", L"/CONFIG", L""}) {
        SCOPED_TRACE(testing::Message() << "argument text \"" << arguments << "\"");
        std::unique_ptr<Process> process;
        HWND dialog = StartSettings(folder, process, arguments);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(WindowDpi(dialog), 96) << "the layout below is for 96 DPI";

        EXPECT_EQ(WindowText(dialog), L"Tessaro");
        EXPECT_EQ(WindowText(::GetDlgItem(dialog, IDOK)), L"\uFF2F\uFF2B");  // full-width ＯＫ
        EXPECT_EQ(WindowText(::GetDlgItem(dialog, IDCANCEL)), L"キャンセル");
        EXPECT_EQ(WindowText(::GetDlgItem(dialog, IDC_NOTHING_TO_SET)), L"設定項目はございません。");

        RECT client{};
        ::GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, 433);
        EXPECT_EQ(client.bottom, 73);
        ExpectRect(ControlRect(dialog, IDOK), {344, 8, 425, 33}, "OK");
        ExpectRect(ControlRect(dialog, IDCANCEL), {344, 40, 425, 65}, "Cancel");
        ExpectRect(ControlRect(dialog, IDC_NOTHING_TO_SET), {8, 16, 217, 33}, "label");

        RECT frame{};
        ::GetWindowRect(dialog, &frame);
        EXPECT_NEAR((frame.left + frame.right) / 2.0, ScreenWidth() / 2.0, 1.0) << "centred across";
        EXPECT_NEAR((frame.top + frame.bottom) / 2.0, ScreenHeight() / 2.0, 1.0) << "centred down";

        const auto style = static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_STYLE));
        const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_EXSTYLE));
        EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
        EXPECT_TRUE(style & WS_SYSMENU) << "system menu and close box";
        EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
        EXPECT_FALSE(exStyle & WS_EX_DLGMODALFRAME) << "a modal frame would hide the icon";
        EXPECT_TRUE(exStyle & WS_EX_APPWINDOW) << "a taskbar button of its own";
        EXPECT_EQ(::GetWindow(dialog, GW_OWNER), nullptr);
        // The icon sits at the left of the title bar (window icons do not cross processes under Wine).
        const RECT titleIcon{frame.left + 2, frame.top + 2, frame.left + 22, ClientRectOnScreen(dialog).top - 2};
        EXPECT_GE(DistinctColours(Screenshot::Take(), titleIcon), 6u) << "no icon in the title bar";
        EXPECT_NE(::GetMenu(dialog), nullptr);
        EXPECT_EQ(FocusedControl(dialog), ::GetDlgItem(dialog, IDOK));

        PressKey(VK_ESCAPE);
        EXPECT_TRUE(process->WaitForExit(3000ms));
    }
}

TEST(SettingsDialog, EveryWayOutEndsTheProgram) {
    struct Case {
        const char* how;
        std::function<void(HWND dialog)> act;
    };
    const Case cases[] = {
        {"Enter on OK", [](HWND) { PressKey(VK_RETURN); }},
        {"Esc", [](HWND) { PressKey(VK_ESCAPE); }},
        {"Tab to Cancel, then Enter",
         [](HWND dialog) {
             PressKey(VK_TAB);
             EXPECT_EQ(FocusedControl(dialog), ::GetDlgItem(dialog, IDCANCEL)) << "tab order: OK, then Cancel";
             PressKey(VK_RETURN);
         }},
        {"a click on Cancel", [](HWND dialog) { ClickOn(::GetDlgItem(dialog, IDCANCEL)); }},
        {"the close box", [](HWND dialog) { ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Alt+F4", [](HWND) { PressKeys({VK_MENU, VK_F4}); }},
    };
    const SaverFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        std::unique_ptr<Process> process;
        HWND dialog = StartSettings(folder, process);
        ASSERT_NE(dialog, nullptr);
        c.act(dialog);
        EXPECT_TRUE(process->WaitForExit(3000ms));
        EXPECT_EQ(process->ExitCode(), 0u);
    }
}

// Menu texts do not cross processes under Wine: read them from the program's own resources.
TEST(SettingsDialog, HelpMenuHasTheVersionItem) {
    const SaverFolder folder;
    const HMODULE program = ::LoadLibraryExW(folder.Program().c_str(), nullptr,
                                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    const HMENU menu = ::LoadMenuW(program, MAKEINTRESOURCEW(IDM_SETTINGS_MENU));
    ASSERT_NE(menu, nullptr);
    wchar_t text[64] = {};
    EXPECT_EQ(::GetMenuItemCount(menu), 1);
    ::GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"ヘルプ(&H)");
    const HMENU help = ::GetSubMenu(menu, 0);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(::GetMenuItemCount(help), 1);
    ::GetMenuStringW(help, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"バージョン情報(&V)...");
    EXPECT_EQ(::GetMenuItemID(help, 0), static_cast<UINT>(IDM_VERSION));
    ::DestroyMenu(menu);
    ::FreeLibrary(program);
}

}  // namespace
}  // namespace tessaro::e2e
