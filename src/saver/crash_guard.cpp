#include "crash_guard.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <exception>

#include "desktop_changes.h"

namespace tessaro {
namespace {

std::atomic<DesktopChanges*> guarded{nullptr};
LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;
std::terminate_handler previousTerminate = nullptr;

void GiveBackGuarded() {
    if (DesktopChanges* desktop = guarded.load()) desktop->GiveBack();
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* exception) {
    GiveBackGuarded();
    return previousFilter ? previousFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
}

[[noreturn]] void OnTerminate() {
    GiveBackGuarded();
    if (previousTerminate) previousTerminate();
    std::abort();
}

}  // namespace

CrashGuard::CrashGuard(DesktopChanges& desktop) {
    guarded = &desktop;
    previousFilter = ::SetUnhandledExceptionFilter(&OnUnhandledException);
    previousTerminate = std::set_terminate(&OnTerminate);
}

CrashGuard::~CrashGuard() {
    std::set_terminate(previousTerminate);
    ::SetUnhandledExceptionFilter(previousFilter);
    guarded = nullptr;
}

}  // namespace tessaro
