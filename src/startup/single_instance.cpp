#include "single_instance.h"

#include <string>

#include "command_switch.h"

namespace tessaro {

SingleInstanceGuard::SingleInstanceGuard(std::wstring_view executablePath) {
    const std::wstring name = SingleInstanceName(executablePath);
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
    // Read at once: any call in between, even freeing memory, may change the last error.
    const DWORD lastError = ::GetLastError();
    mutex_.reset(mutex);
    anotherInstanceRuns_ = !mutex_ || lastError == ERROR_ALREADY_EXISTS;
}

}  // namespace tessaro
