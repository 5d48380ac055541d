// Start-up: what each command-line switch does, and one instance per executable.

#include <cstdio>
#include <set>

#include "dialog_test_support.h"
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

// Windows looks for a DLL that is not one of its KnownDLLs in the program's folder first, and a
// saver runs from wherever it was unpacked. Here a DLL of the test's own, which leaves a mark
// when loaded, lies beside it under each name that such a program loads by name itself or
// through a system DLL (the window manager's theming loads uxtheme with the first window).
TEST(Dispatch, NoDllPlantedBesideTheProgramRunsInIt) {
    const wchar_t* const names[] = {L"uxtheme", L"dwmapi", L"windowscodecs", L"propsys", L"cryptbase", L"winmm", L"mscms"};
    const std::wstring planted = BuiltFile(L"planted_dll.dll");
    const TempFolder control;
    ASSERT_TRUE(::CopyFileW(planted.c_str(), (control / L"control.dll").c_str(), FALSE));
    ::FreeLibrary(::LoadLibraryW((control / L"control.dll").c_str()));
    ASSERT_NE(::GetFileAttributesW((control / L"control.dll.loaded").c_str()), INVALID_FILE_ATTRIBUTES)
        << "the planted DLL leaves no mark";

    // Wine looks beside a program named Tessaro.scr first for the DLLs listed under this key, as
    // Windows does.
    constexpr wchar_t kOverrides[] = L"Software\\Wine\\AppDefaults\\Tessaro.scr\\DllOverrides";
    const SaverFolder folder;
    folder.AddSolidSlide(1, 64, 48, 0x336699);
    UniqueHkey overrides;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kOverrides, 0, nullptr, 0, KEY_SET_VALUE, nullptr, overrides.put(), nullptr),
              ERROR_SUCCESS);
    const std::unique_ptr<const wchar_t, void (*)(const wchar_t*)> removeOverrides(
        kOverrides, [](const wchar_t* key) { ::RegDeleteTreeW(HKEY_CURRENT_USER, key); });
    for (const wchar_t* name : names) {
        ASSERT_TRUE(::CopyFileW(planted.c_str(), (folder.Folder() + L"\\" + name + L".dll").c_str(), FALSE));
        constexpr wchar_t kNativeFirst[] = L"native,builtin";
        ::RegSetValueExW(overrides.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(kNativeFirst), sizeof(kNativeFirst));
    }

    // Every switch, each as far as it goes: a planted DLL may break what comes after it.
    std::unique_ptr<Process> process;
    if (StartSaver(folder, process, 0x336699)) EndWithKey(*process);
    if (HWND settings = StartSettings(folder, process)) {
        if (HWND about = OpenAboutWithKeys(*process)) {
            PressKey(VK_ESCAPE);
            EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(about); }, kPatience));
        }
        ::PostMessageW(settings, WM_CLOSE, 0, 0);
        EXPECT_TRUE(process->WaitForExit(kPatience));
    }
    EXPECT_TRUE(folder.Start(L"/p 1234")->WaitForExit(kPatience));
    process = folder.Start(L"/a");
    if (process->WaitForWindow(kDialogClass, kPatience)) PressKey(VK_RETURN);
    EXPECT_TRUE(process->WaitForExit(kPatience));

    std::vector<std::wstring> marked;
    for (const wchar_t* name : names) {
        const std::wstring mark = folder.Folder() + L"\\" + name + L".dll.loaded";
        if (::GetFileAttributesW(mark.c_str()) != INVALID_FILE_ATTRIBUTES) marked.push_back(name);
    }
    EXPECT_EQ(marked, std::vector<std::wstring>{}) << "planted DLLs that ran in the program";
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

// Every switch here shows a window: a preview start, which exits without one, could hold the
// guard for the moment all the others look at it, and then no window would appear at all.
TEST(SingleInstance, OfTwentyStartsAtOnceOneShowsAWindowAndEveryOtherExits) {
    const wchar_t* const switches[] = {L"/s", L"/c", L"",   L"/a",   L"/S",    L"/c:4242", L"-s",      L"/x", L"/s", L"/C",
                                       L"/a 1", L"/SAVE", L"/s", L"/CONFIG", L"", L"/s",   L"/c 1234", L"/", L"/A", L"/ s"};
    const SaverFolder folder;
    std::vector<std::unique_ptr<Process>> crowd;
    for (const wchar_t* arguments : switches) crowd.push_back(folder.Start(arguments, Process::Start::Suspended));
    for (const auto& process : crowd) process->Resume();
    // Every window that ever appears, by process, until all but one process have ended.
    std::set<DWORD> withWindow;
    const auto running = [&] {
        return std::count_if(crowd.begin(), crowd.end(), [](const auto& process) { return process->Running(); });
    };
    EXPECT_TRUE(WaitUntil(
        [&] {
            for (const auto& process : crowd) {
                if (!process->Windows().empty()) withWindow.insert(process->Id());
            }
            return running() <= 1 && !withWindow.empty();
        },
        kPatience, 0ms));
    ASSERT_EQ(withWindow.size(), 1u) << "processes that showed a window";
    for (std::size_t i = 0; i < crowd.size(); ++i) {
        const Process& process = *crowd[i];
        if (withWindow.count(process.Id())) continue;
        EXPECT_FALSE(process.Running()) << "start " << i << " with \"" << switches[i] << "\"";
        EXPECT_EQ(process.ExitCode(), 0u) << "start " << i;
    }
    // The saver, the settings dialog and the password message all end on Enter.
    const auto winner = std::find_if(crowd.begin(), crowd.end(), [&](const auto& p) { return withWindow.count(p->Id()); });
    std::printf("Of 20 starts, start %d (\"%ls\") showed the one window; the others exited.\n",
                static_cast<int>(winner - crowd.begin()), switches[winner - crowd.begin()]);
    PressKey(VK_RETURN);
    EXPECT_TRUE((*winner)->WaitForExit(kPatience));
}

TEST(SingleInstance, EverySpellingOfThePathIsOneInstanceAndACopyIsAnother) {
    const SaverFolder folder(L"Tessaro.scr", L"Äpfel Öl Σοφία tessaro");
    std::unique_ptr<Process> first;
    ASSERT_NE(StartSaver(folder, first), nullptr);
    for (const Spelling& spelling : OtherSpellings(folder.Program())) {
        SCOPED_TRACE(spelling.what);
        ExpectExitWithoutWindow(Process(spelling.path, L"\"" + spelling.path + L"\" /s"), spelling.path);
    }
    const SaverFolder copy;
    EXPECT_NE(copy.Start(L"/c")->WaitForWindow(kDialogClass, kPatience), nullptr)
        << "a copy in another folder is another program";
    // The copy's dialog may have taken the keyboard focus: a click ends the saver wherever it goes.
    ClickMouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(first->WaitForExit(kPatience));
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
