// Entry point: one instance per executable, then the command-line switch decides between the
// saver, the settings dialog, the password message and an immediate exit.

#include <windows.h>

#include "command_switch.h"
#include "single_instance.h"
#include "../common/application.h"
#include "../dialogs/form2.h"
#include "../saver/form1.h"
#include "../saver/slide_sequence.h"
#include "../win32/message_loop.h"
#include "../win32/module_info.h"
#include "../win32/unique_resource.h"

namespace tessaro {
namespace {

int Main(HINSTANCE instance) {
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
            Form2 settings;
            if (!settings.Create(instance)) return 0;
            return RunMessageLoop(settings.Handle());
        }
        case LaunchAction::Saver: {
            Form1 saver(ApplicationFolder(executablePath));
            if (!saver.Create(instance)) return 0;
            saver.Show();
            return RunMessageLoop(nullptr);
        }
    }
    return 0;
}

}  // namespace
}  // namespace tessaro

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return tessaro::Main(instance);
}
