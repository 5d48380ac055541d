// The About box: opened from the settings dialog's Help menu, modal, with texts from the
// program's version information.

#include "dialog_test_support.h"
#include "version.h"

namespace tessaro::e2e {
namespace {

constexpr wchar_t kVersionLabel[] = L"ﾊﾞｰｼﾞｮﾝ " TESSARO_VERSION_TEXT;

RECT ClientToScreenRect(HWND window, RECT rect) {
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

using AboutBox = SettingsSession;

TEST_F(AboutBox, OpensWithAltHVShowingTheVersionInformation) {
    HWND about = OpenAboutWithKeys(*process_);
    ASSERT_NE(about, nullptr) << "Alt+H, V opened no About box";
    ASSERT_EQ(WindowDpi(about), 96);

    EXPECT_EQ(WindowText(::GetDlgItem(about, IDC_TITLE)), L"Tessaro");
    EXPECT_EQ(WindowText(::GetDlgItem(about, IDC_VERSION)), kVersionLabel);
    EXPECT_EQ(WindowText(::GetDlgItem(about, IDC_COMPANY_NAME)), L"" TESSARO_COMPANY_NAME);
    EXPECT_EQ(WindowText(::GetDlgItem(about, IDC_COPYRIGHT)), L"Copyright (C) 2026 Tessera Works. All rights reserved.");
    EXPECT_EQ(WindowText(::GetDlgItem(about, IDOK)), L"OK");
    EXPECT_EQ(WindowText(::GetDlgItem(about, IDC_SYSTEM_INFORMATION)), L"ｼｽﾃﾑ情報(&S)...");
    EXPECT_NE(::SendDlgItemMessageW(about, IDC_APPLICATION_ICON, STM_GETICON, 0, 0), 0) << "the application icon";
    const RECT icon = ClientToScreenRect(about, RECT{16, 16, 48, 48});
    EXPECT_TRUE(WaitUntil([&] { return DistinctColours(Screenshot::Take(), icon) >= 6; }, kPatience))
        << "no icon drawn in its place";

    // Modal over the settings dialog, which takes no input meanwhile.
    EXPECT_EQ(::GetWindow(about, GW_OWNER), settings_);
    EXPECT_FALSE(::IsWindowEnabled(settings_));
    EXPECT_FALSE(::GetWindowLongPtrW(about, GWL_EXSTYLE) & WS_EX_APPWINDOW) << "no taskbar button";
    EXPECT_EQ(FocusedControl(about), ::GetDlgItem(about, IDOK));
    ClickOn(::GetDlgItem(settings_, IDOK));
    EXPECT_FALSE(process_->WaitForExit(500ms)) << "a click on the disabled OK of the settings dialog did something";

    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(about); }, 3000ms)) << "Esc closes the box";
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(settings_) != FALSE; }, 3000ms));
    EXPECT_TRUE(process_->Running());
}

TEST_F(AboutBox, LayoutAndSeparatorLines) {
    HWND about = OpenAboutWithKeys(*process_);
    ASSERT_NE(about, nullptr);

    RECT client{};
    ::GetClientRect(about, &client);
    EXPECT_EQ(client.right, 407);
    EXPECT_EQ(client.bottom, 192);
    RECT outer{};
    RECT owner{};
    ::GetWindowRect(about, &outer);
    ::GetWindowRect(settings_, &owner);
    EXPECT_NEAR((outer.left + outer.right) / 2.0, (owner.left + owner.right) / 2.0, 1.0) << "centred on the dialog";
    EXPECT_NEAR((outer.top + outer.bottom) / 2.0, (owner.top + owner.bottom) / 2.0, 1.0);

    struct Control {
        int id;
        RECT expected;
    };
    const Control controls[] = {
        {IDOK, {304, 132, 396, 155}},          {IDC_SYSTEM_INFORMATION, {304, 160, 396, 183}},
        {IDC_APPLICATION_ICON, {16, 16, 48, 48}},    {IDC_TITLE, {70, 16, 397, 35}},
        {IDC_VERSION, {70, 40, 397, 55}}, {IDC_COMPANY_NAME, {12, 62, 396, 77}},
        {IDC_COPYRIGHT, {12, 80, 400, 110}},
    };
    for (const Control& c : controls) {
        const RECT r = ControlRect(about, c.id);
        EXPECT_TRUE(::EqualRect(&r, &c.expected))
            << "control " << c.id << " at " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }

    // White line 2 pixels high at y 120, grey line 1 pixel high at y 122, from x 8 to 400.
    const RECT lines = ClientToScreenRect(about, RECT{8, 120, 400, 123});
    // The box may be shown a moment before it is painted.
    Screenshot shot = Screenshot::Take();
    WaitUntil([&] { return (shot = Screenshot::Take()).At(lines.left, lines.top + 2) == 0x808080u; }, kPatience);
    for (int x : {lines.left, (lines.left + lines.right) / 2, lines.right - 1}) {
        EXPECT_EQ(shot.At(x, lines.top), 0xFFFFFFu) << "x " << x;
        EXPECT_EQ(shot.At(x, lines.top + 1), 0xFFFFFFu) << "x " << x;
        EXPECT_EQ(shot.At(x, lines.top + 2), 0x808080u) << "x " << x;
        EXPECT_NE(shot.At(x, lines.top + 3), 0x808080u) << "x " << x;
    }
    EXPECT_NE(shot.At(lines.left - 1, lines.top), 0xFFFFFFu);
    EXPECT_NE(shot.At(lines.right, lines.top + 2), 0x808080u);
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(about); }, 3000ms)) << "Enter on OK closes the box";
}

TEST_F(AboutBox, ClosesEveryWayAndOpensAgainFresh) {
    struct Case {
        const char* how;
        std::function<void(HWND about)> close;
    };
    const Case cases[] = {
        {"Enter", [](HWND) { PressKey(VK_RETURN); }},
        {"Esc", [](HWND) { PressKey(VK_ESCAPE); }},
        {"Alt+F4", [](HWND) { PressKeys({VK_MENU, VK_F4}); }},
        {"a click on OK", [](HWND about) { ClickOn(::GetDlgItem(about, IDOK)); }},
        {"the close box", [](HWND about) { ::PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        HWND about = OpenAboutWithKeys(*process_);
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(WindowText(::GetDlgItem(about, IDC_VERSION)), kVersionLabel);
        c.close(about);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(about); }, 3000ms));
        EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == settings_; }, 3000ms));
        LetFocusSettle();
        EXPECT_TRUE(process_->Running()) << "closing the box must not end the program";
    }
    PressKey(VK_RETURN);
    EXPECT_TRUE(process_->WaitForExit(3000ms));
}

}  // namespace
}  // namespace tessaro::e2e
