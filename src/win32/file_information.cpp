#include "file_information.h"

#include <cstdint>

#include "common/long_path.h"

namespace tessaro {

UniqueFile OpenExistingFile(std::wstring_view path, DWORD access, DWORD flags) {
    UniqueFile file;
    DWORD error = ERROR_SUCCESS;
    {
        const std::wstring extended = ExtendedLengthPath(path);
        file.reset(::CreateFileW(extended.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, flags, nullptr));
        error = ::GetLastError();
    }
    ::SetLastError(error);  // freeing the path may have changed it
    return file;
}

std::optional<FileSignature> ReadFileSignature(std::wstring_view path) {
    const UniqueFile file = OpenExistingFile(path, FILE_READ_ATTRIBUTES);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !::GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
    const auto join = [](DWORD high, DWORD low) { return static_cast<std::uint64_t>(high) << 32 | low; };
    return FileSignature{FileIdentity{info.dwVolumeSerialNumber, join(info.nFileIndexHigh, info.nFileIndexLow)},
                         join(info.nFileSizeHigh, info.nFileSizeLow),
                         join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)};
}

}  // namespace tessaro
