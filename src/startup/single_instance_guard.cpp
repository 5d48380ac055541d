#include "single_instance_guard.h"

#include <optional>
#include <string>

#include "launch/single_instance_name.h"
#include "win32/file_information.h"

namespace tessaro {
namespace {

// Named after the file itself when it can be asked who it is, else after its path.
std::wstring InstanceName(std::wstring_view executablePath) {
    const std::optional<FileSignature> signature = ReadFileSignature(executablePath);
    return signature ? SingleInstanceName(signature->identity) : SingleInstanceName(executablePath);
}

}  // namespace

SingleInstanceGuard::SingleInstanceGuard(std::wstring_view executablePath) {
    const std::wstring name = InstanceName(executablePath);
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
    // Read at once: any call in between, even freeing memory, may change the last error.
    const DWORD lastError = ::GetLastError();
    mutex_.reset(mutex);
    anotherInstanceRuns_ = !mutex_ || lastError == ERROR_ALREADY_EXISTS;
}

}  // namespace tessaro
