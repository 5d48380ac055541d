#include "single_instance.h"

#include <string>

#include "command_switch.h"
#include "../common/long_path.h"

namespace tessaro {
namespace {

// Named after the file itself when it can be asked who it is, else after its path.
std::wstring InstanceName(std::wstring_view executablePath) {
    const HANDLE opened = ::CreateFileW(ExtendedLengthPath(executablePath).c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        0, nullptr);
    const UniqueHandle file(opened == INVALID_HANDLE_VALUE ? nullptr : opened);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !::GetFileInformationByHandle(file.get(), &info)) return SingleInstanceName(executablePath);
    return SingleInstanceName(
        FileIdentity{info.dwVolumeSerialNumber, static_cast<std::uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow});
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
