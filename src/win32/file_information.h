#pragma once
// Opening an existing file, and what the file system says of it, for paths of any length.

#include <windows.h>

#include <optional>
#include <string_view>

#include "common/file_identity.h"
#include "unique_resource.h"

namespace tessaro {

// The file, opened for access and shared with every other reader and writer; empty when it
// cannot be opened (GetLastError says why).
UniqueFile OpenExistingFile(std::wstring_view path, DWORD access, DWORD flags = 0);

// The file's identity and the signature of its content, read without opening it for reading.
std::optional<FileSignature> ReadFileSignature(std::wstring_view path);

}  // namespace tessaro
