#pragma once
// The first bytes of a slide file, by which a test build's decoder tells the slides a test made
// to behave in some way of its own.

#include <windows.h>

#include <string>

#include "win32/file_information.h"

namespace tessaro {

inline std::string FileStart(const std::wstring& path, std::size_t bytes) {
    const UniqueFile file = OpenExistingFile(path, GENERIC_READ);
    std::string start(bytes, '\0');
    DWORD read = 0;
    if (!file || !::ReadFile(file.get(), start.data(), static_cast<DWORD>(bytes), &read, nullptr)) read = 0;
    start.resize(read);
    return start;
}

}  // namespace tessaro
