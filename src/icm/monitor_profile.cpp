#include "monitor_profile.h"

#include <windows.h>

#include <cwchar>
#include <string>

#include "win32/diagnostics.h"
#include "win32/file_information.h"
#include "win32/unique_resource.h"

namespace tessaro {
namespace {

// Larger than any monitor's profile; a file this large is not read.
constexpr LONGLONG kLargestProfile = 16 << 20;

}  // namespace

std::shared_ptr<const ProfileBytes> PrimaryMonitorProfile() {
    // The screen's device context is the primary monitor's; taken from the system's cache of them
    // rather than made and destroyed for every slide.
    const WindowDc monitor(nullptr);
    if (!monitor.get()) return nullptr;
    DWORD length = 0;
    ::GetICMProfileW(monitor.get(), &length, nullptr);  // asks how long the path is
    if (length == 0) return nullptr;
    std::wstring path(length, L'\0');
    if (!::GetICMProfileW(monitor.get(), &length, path.data())) return nullptr;
    path.resize(std::wcslen(path.c_str()));

    const auto failed = [&path](HRESULT why) {
        TraceFailure(L"reading the monitor's colour profile", path, why);
        return nullptr;
    };
    const UniqueFile file = OpenExistingFile(path, GENERIC_READ);
    if (!file) return failed(LastErrorResult());
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) return failed(LastErrorResult());
    if (size.QuadPart > kLargestProfile) return failed(HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE));
    auto bytes = std::make_shared<ProfileBytes>(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes->data(), static_cast<DWORD>(bytes->size()), &read, nullptr)) return failed(LastErrorResult());
    if (read != bytes->size()) return failed(HRESULT_FROM_WIN32(ERROR_HANDLE_EOF));
    return bytes;
}

}  // namespace tessaro
