#include "program.h"

#include "common/application.h"
#include "dialogs/settings_dialog.h"
#include "launch/command_switch.h"
#include "show/slide_sequence.h"
#include "single_instance_guard.h"
#include "win32/message_loop.h"
#include "win32/module_info.h"

namespace tessaro {

int RunProgram(HINSTANCE instance, SaverBuild saverBuild) {
    const std::wstring executablePath = ExecutablePath();
    // Held until the process ends; a second start finds it and leaves quietly.
    const SingleInstanceGuard instanceGuard(executablePath);
    if (instanceGuard.AnotherInstanceRuns()) return 0;

    switch (DispatchSwitch(ArgumentText(::GetCommandLineW()))) {
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
            if (!saver.Create(instance)) return 0;
            saver.Show();
            return RunMessageLoop(nullptr);
        }
    }
    return 0;
}

}  // namespace tessaro
