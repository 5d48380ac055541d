// A crash still gives the desktop back. TessaroCrash.scr is the saver with a decoder that crashes
// on purpose, on the thread a slide asks for, the way a faulty codec inside the process might.

#include <algorithm>

#include "saver_test_support.h"

namespace tessaro::e2e {
namespace {

// After a crash the system ends the saver instead of offering to debug it: on Windows through the
// error mode the saver inherits, under Wine through its debugger's setting, which is put back.
class Crash : public testing::Test {
protected:
    Crash() : errorMode_(::SetErrorMode(SEM_NOGPFAULTERRORBOX)) {
        DWORD size = sizeof(showCrashDialog_);
        hadSetting_ = ::RegGetValueW(HKEY_CURRENT_USER, kWineDbg, kShowCrashDialog, RRF_RT_REG_DWORD, nullptr,
                                     &showCrashDialog_, &size) == ERROR_SUCCESS;
        const DWORD no = 0;
        ::RegSetKeyValueW(HKEY_CURRENT_USER, kWineDbg, kShowCrashDialog, REG_DWORD, &no, sizeof(no));
    }
    ~Crash() override {
        if (hadSetting_) {
            ::RegSetKeyValueW(HKEY_CURRENT_USER, kWineDbg, kShowCrashDialog, REG_DWORD, &showCrashDialog_,
                              sizeof(showCrashDialog_));
        } else {
            ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kWineDbg, kShowCrashDialog);
        }
        ::SetErrorMode(errorMode_);
    }

private:
    static constexpr wchar_t kWineDbg[] = L"Software\\Wine\\WineDbg";
    static constexpr wchar_t kShowCrashDialog[] = L"ShowCrashDialog";
    UINT errorMode_;
    DWORD showCrashDialog_ = 0;
    bool hadSetting_ = false;
};

// The taskbar comes back whichever thread crashes. (Under Wine the process's end gives back its
// share of the pointer's count, which hides whether the crash gave it back first; that a crash on
// another thread has the window's thread give it back is tested in-process, in
// desktop_changes_test.)
TEST_F(Crash, GivesTheTaskbarBackWhicheverThreadItComesOn) {
    struct Case {
        const char* trigger;  // what the crashing slide holds
        const char* what;
    };
    const Case cases[] = {
        {"CRASH IN WORKER", "an access violation on the slide worker"},
        {"CRASH IN WINDOW", "an access violation on the window's thread"},
        {"CRASH IN THREAD", "an access violation on a thread of the codec's own"},
        {"THROW IN WORKER", "a C++ exception that leaves the slide worker"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(TaskbarVisible());
        const SaverFolder folder(L"TessaroCrash.scr");
        folder.AddSolidSlide(1, 320, 240, 0x2E86C1);
        std::unique_ptr<Process> process;
        ASSERT_NE(StartSaver(folder, process, 0x2E86C1), nullptr);
        ASSERT_TRUE(WaitUntil([&] { return !TaskbarVisible() && !CursorShowing(); }, kPatience));

        // Whichever slide comes next crashes the saver.
        for (int number = 1; number <= 46; ++number) WriteFileBytes(folder.Slide(number), c.trigger);
        ASSERT_TRUE(process->WaitForExit(kPatience)) << "the saver did not crash";
        EXPECT_NE(process->ExitCode(), 0u) << "the saver ended as if nothing had happened";
        EXPECT_TRUE(WaitUntil([] { return TaskbarVisible(); }, kPatience)) << "the crash did not show the taskbar again";
    }
}

// A saver refused its window says why and ends, with nothing of the desktop taken.
TEST_F(Crash, ASaverWithoutItsWindowSaysWhyAndEnds) {
    const SaverFolder folder(L"TessaroCrash.scr");
    const auto process = folder.StartTraced(L"/s NO WINDOW");
    ASSERT_TRUE(process->WaitForExit(kPatience));
    EXPECT_EQ(process->ExitCode(), 0u);
    const std::vector<std::wstring> trace = process->Trace();
    const auto traced = [&](const std::wstring& start) {
        return std::any_of(trace.begin(), trace.end(), [&](const std::wstring& line) { return line.rfind(start, 0) == 0; });
    };
    EXPECT_TRUE(traced(L"Tessaro: creating the window failed for the saver window: 0x"));
    EXPECT_TRUE(traced(L"Tessaro: the saver ends: its window could not be made"));
    EXPECT_TRUE(TaskbarVisible() && CursorShowing());
}

}  // namespace
}  // namespace tessaro::e2e
