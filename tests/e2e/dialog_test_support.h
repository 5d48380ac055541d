#pragma once
// What the settings dialog and About box tests share.

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "harness.h"
#include "resource.h"

namespace tessaro::e2e {

inline constexpr wchar_t kAboutCaption[] = L"Tessaroのﾊﾞｰｼﾞｮﾝ情報";

// When a window gains the X focus, Wine resets its key states to the X server's, which knows
// nothing of keys sent with SendInput: an Alt held down at that moment is forgotten. Key
// combinations are sent only once the focus has settled.
inline void LetFocusSettle() { std::this_thread::sleep_for(300ms); }

// The settings dialog of a freshly started program, or null.
inline HWND StartSettings(const SaverFolder& folder, std::unique_ptr<Process>& process, const std::wstring& arguments = L"/c") {
    process = folder.Start(arguments);
    EXPECT_TRUE(process->Started());
    HWND dialog = process->WaitForWindow(kDialogClass, kPatience);
    EXPECT_NE(dialog, nullptr) << "no settings dialog for \"" << arguments << "\"";
    // Keys go to the foreground window: wait until the dialog is it.
    EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == dialog; }, kPatience));
    LetFocusSettle();
    return dialog;
}

// Alt+H opens the Help menu; V, once the menu is open, chooses the version item.
inline HWND OpenAboutWithKeys(const Process& process) {
    PressKeys({VK_MENU, 'H'});
    EXPECT_TRUE(WaitUntil([&] { return process.WaitForWindow(L"#32768", 0ms) != nullptr; }, kPatience))
        << "Alt+H opened no menu";
    PressKey('V');
    HWND about = process.WaitForCaption(kAboutCaption, kPatience);
    // Keys for the box, Alt+F4 among them, wait until it has the focus.
    EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == about; }, kPatience));
    LetFocusSettle();
    return about;
}

// How many different colours a rectangle of the screen holds: an icon has many, a plain
// background one.
inline std::size_t DistinctColours(const Screenshot& shot, const RECT& rect) {
    std::vector<std::uint32_t> colours;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            if (std::find(colours.begin(), colours.end(), shot.At(x, y)) == colours.end()) colours.push_back(shot.At(x, y));
        }
    }
    return colours.size();
}

inline HWND FocusedControl(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// A settings dialog, started with "/c" for each test and ended with it.
class SettingsSession : public testing::Test {
protected:
    void SetUp() override {
        settings_ = StartSettings(folder_, process_);
        ASSERT_NE(settings_, nullptr);
    }

    SaverFolder folder_;
    std::unique_ptr<Process> process_;
    HWND settings_ = nullptr;
};

}  // namespace tessaro::e2e
