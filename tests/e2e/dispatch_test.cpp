// Start-up: what each command-line switch does, and one instance per executable.

#include "saver_test_support.h"

namespace tessaro::e2e {
namespace {

// Watches the process until it ends or shows a window: a program that should exit at once may
// still take its time on a busy machine, but one that shows a window has failed at once.
void ExpectExitWithoutWindow(const Process& process, const std::wstring& arguments) {
    bool sawWindow = false;
    WaitUntil(
        [&] {
            sawWindow = !process.Windows().empty();
            return sawWindow || !process.Running();
        },
        kPatience, 5ms);
    EXPECT_FALSE(sawWindow) << arguments << " showed a window";
    ASSERT_FALSE(process.Running()) << arguments << " did not exit";
    EXPECT_EQ(process.ExitCode(), 0u) << arguments;
}

TEST(Dispatch, PasswordSwitchShowsTheMessageAndExits) {
    const SaverFolder folder;
    for (const wchar_t* arguments : {L"/a", L"/A 4242"}) {
        SCOPED_TRACE(testing::Message() << arguments);
        const auto process = folder.Start(arguments);
        HWND box = process->WaitForWindow(kDialogClass);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(WindowText(box), L"Tessaro");
        EXPECT_EQ(WindowText(::GetDlgItem(box, 0xFFFF)), L"パスワードには対応しておりません。");
        EXPECT_NE(::GetDlgItem(box, IDOK), nullptr);
        EXPECT_EQ(::GetDlgItem(box, IDCANCEL), nullptr) << "an OK button only";
        EXPECT_EQ(::GetDlgItem(box, 0x14 /* the icon */), nullptr) << "no icon";
        EXPECT_EQ(process->WaitForWindow(kSaverClass, kQuietPeriod), nullptr);
        EXPECT_TRUE(process->Running()) << "waits for the user";
        PressKey(VK_RETURN);
        EXPECT_TRUE(process->WaitForExit(kPatience));
        EXPECT_EQ(process->ExitCode(), 0u);
    }
}

TEST(Dispatch, PreviewSwitchExitsWithoutAWindow) {
    const SaverFolder folder;
    for (const wchar_t* arguments : {L"/p", L"/P", L"/p 12345", L"/PREVIEW"}) {
        ExpectExitWithoutWindow(*folder.Start(arguments), arguments);
    }
}

TEST(Dispatch, AnyOtherTextRunsTheSaver) {
    const SaverFolder folder;
    for (const wchar_t* arguments : {L"/s", L"/S", L"-s", L"/X", L"/SAVE", L"/", L"/ s", L"s", L"/s:123"}) {
        SCOPED_TRACE(testing::Message() << "argument text \"" << arguments << "\"");
        std::unique_ptr<Process> process;
        ASSERT_NE(StartSaver(folder, process, kBlack, arguments), nullptr);
        EndWithKey(*process);
    }
}

TEST(SingleInstance, ASecondStartOfTheSameFileExitsAtOnce) {
    const SaverFolder folder;
    std::unique_ptr<Process> first;
    ASSERT_NE(StartSaver(folder, first), nullptr);
    for (const wchar_t* arguments : {L"/s", L"/c", L"", L"/a", L"/p"}) {
        ExpectExitWithoutWindow(*folder.Start(arguments), arguments);
    }
    EXPECT_TRUE(first->Running());
    EndWithKey(*first);
}

TEST(SingleInstance, TheGuardIsReleasedWhenTheSaverEnds) {
    const SaverFolder folder;
    for (int run = 0; run < 2; ++run) {
        std::unique_ptr<Process> process;
        ASSERT_NE(StartSaver(folder, process), nullptr) << "run " << run;
        EndWithKey(*process);
    }
}

}  // namespace
}  // namespace tessaro::e2e
