#include "file_information.h"

#include "../common/long_path.h"

namespace tessaro {

UniqueHandle OpenExistingFile(std::wstring_view path, DWORD access, DWORD flags) {
    const HANDLE file = ::CreateFileW(ExtendedLengthPath(path).c_str(), access,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      flags, nullptr);
    return UniqueHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

std::optional<BY_HANDLE_FILE_INFORMATION> FileInformation(std::wstring_view path) {
    const UniqueHandle file = OpenExistingFile(path, FILE_READ_ATTRIBUTES);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !::GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
    return info;
}

}  // namespace tessaro
