#pragma once
// While a CrashGuard lives, a crash on any thread gives the desktop back before the process ends:
// an exception that no handler takes (a faulty codec inside the process, say), or a C++ exception
// that reaches std::terminate. What becomes of the process then is the system's usual business
// (its error report, or a debugger): the handlers that were there before are called next.

namespace tessaro {

class DesktopChanges;

class CrashGuard {
public:
    explicit CrashGuard(DesktopChanges& desktop);
    ~CrashGuard();
    CrashGuard(const CrashGuard&) = delete;
    CrashGuard& operator=(const CrashGuard&) = delete;
};

}  // namespace tessaro
