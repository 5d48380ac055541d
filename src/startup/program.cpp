#include "program.h"

#include "common/application.h"
#include "dialogs/settings_dialog.h"
#include "launch/application_folder.h"
#include "launch/command_switch.h"
#include "saver/saver_window.h"
#include "single_instance_guard.h"
#include "win32/message_loop.h"
#include "win32/module_info.h"
#include "win32/system_library.h"

namespace tessaro {

int RunProgram(HINSTANCE instance, SaverBuild saverBuild) {
    SearchDllsInSystemFolderOnly();  // before anything loads a DLL by its name
    const std::wstring executablePath = ExecutablePath();
    // Held until the process ends; a second start finds it and leaves quietly.
    const SingleInstanceGuard instanceGuard(executablePath);
    if (instanceGuard.AnotherInstanceRuns()) return 0;

    switch (ActionFor(ArgumentText(::GetCommandLineW()))) {
        case LaunchAction::PasswordMessage:
            ::MessageBoxW(nullptr, kPasswordNotSupported, kApplicationTitle, MB_OK);
            ::ExitProcess(0);
        case LaunchAction::Exit:
            return 0;
        case LaunchAction::Settings: {
            SettingsDialog settings;
            if (!settings.Create(instance)) return 0;
            return RunMessageLoop(settings.Handle());
        }
        case LaunchAction::Saver: {
            SaverWindow saver(ApplicationFolder(executablePath), std::move(saverBuild));
            if (!saver.Create(instance)) saver.End(L"its window could not be made");
            saver.Show();
            // Input ends the saver inside the loop; the loop itself ends only when the thread is
            // told to quit (WM_QUIT) or cannot get its messages.
            const bool quit = RunMessageLoop(nullptr) != kMessageLoopFailed;
            saver.End(quit ? L"its thread was told to quit" : L"its thread's messages could not be read");
        }
    }
    return 0;
}

}  // namespace tessaro
