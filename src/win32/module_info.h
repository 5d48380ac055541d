#pragma once
// Facts about the running executable: its path and its version information.

#include <windows.h>

#include <optional>
#include <string>

namespace tessaro {

// Full path of the running executable, of any length.
std::wstring ExecutablePath();

struct VersionInfo {
    std::wstring productName;
    unsigned major = 0;
    unsigned minor = 0;
    unsigned revision = 0;
    std::wstring companyName;
    std::wstring legalCopyright;
};

// Read afresh from the executable's own version resource; empty when it is missing or
// incomplete, and then why in failure.
std::optional<VersionInfo> ReadVersionInfo(HRESULT& failure);

}  // namespace tessaro
