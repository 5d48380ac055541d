#include "single_instance.h"

#include <string>

#include "command_switch.h"
#include "../win32/file_information.h"

namespace tessaro {
namespace {

// Named after the file itself when it can be asked who it is, else after its path.
std::wstring InstanceName(std::wstring_view executablePath) {
    const std::optional<BY_HANDLE_FILE_INFORMATION> info = FileInformation(executablePath);
    if (!info) return SingleInstanceName(executablePath);
    return SingleInstanceName(
        FileIdentity{info->dwVolumeSerialNumber, static_cast<std::uint64_t>(info->nFileIndexHigh) << 32 | info->nFileIndexLow});
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
