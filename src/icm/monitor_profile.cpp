#include "monitor_profile.h"

#include <windows.h>

#include <cwchar>
#include <string>

#include "win32/diagnostics.h"
#include "win32/file_information.h"

namespace tessaro {
namespace {

// Larger than any monitor's profile; a file this large is not read.
constexpr LONGLONG kLargestProfile = 16 << 20;

// The primary monitor's own device context: the profile is the monitor's, not the desktop's.
class PrimaryMonitorDc {
public:
    PrimaryMonitorDc() {
        MONITORINFOEXW info{};
        info.cbSize = sizeof(info);
        if (::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info)) {
            dc_ = ::CreateDCW(L"DISPLAY", info.szDevice, nullptr, nullptr);
        }
    }
    ~PrimaryMonitorDc() {
        if (dc_) ::DeleteDC(dc_);
    }
    PrimaryMonitorDc(const PrimaryMonitorDc&) = delete;
    PrimaryMonitorDc& operator=(const PrimaryMonitorDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_ = nullptr;
};

}  // namespace

std::optional<ProfileBytes> PrimaryMonitorProfile() {
    const PrimaryMonitorDc monitor;
    if (!monitor.get()) return std::nullopt;
    DWORD length = 0;
    ::GetICMProfileW(monitor.get(), &length, nullptr);  // asks how long the path is
    if (length == 0) return std::nullopt;
    std::wstring path(length, L'\0');
    if (!::GetICMProfileW(monitor.get(), &length, path.data())) return std::nullopt;
    path.resize(std::wcslen(path.c_str()));

    const auto failed = [&path](HRESULT why) {
        TraceFailure(L"reading the monitor's colour profile", path, why);
        return std::nullopt;
    };
    const UniqueFile file = OpenExistingFile(path, GENERIC_READ);
    if (!file) return failed(LastErrorResult());
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) return failed(LastErrorResult());
    if (size.QuadPart > kLargestProfile) return failed(HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE));
    ProfileBytes bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) return failed(LastErrorResult());
    if (read != bytes.size()) return failed(HRESULT_FROM_WIN32(ERROR_HANDLE_EOF));
    return bytes;
}

}  // namespace tessaro
