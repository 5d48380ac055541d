#pragma once
// The name of the kernel object that keeps one instance per executable file and user session.

#include <string>
#include <string_view>

#include "common/file_identity.h"

namespace tessaro {

std::wstring SingleInstanceName(const FileIdentity& executable);
// The same from the executable's path, for when the file cannot be asked who it is: equal for the
// same path however its ASCII letters are cased.
std::wstring SingleInstanceName(std::wstring_view executablePath);

}  // namespace tessaro
