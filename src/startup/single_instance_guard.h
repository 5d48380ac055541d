#pragma once
// One instance per executable file, however its path is spelled: a named mutex, held for the life
// of the process.

#include <string_view>

#include "win32/unique_resource.h"

namespace tessaro {

class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(std::wstring_view executablePath);

    // Another start of the same file holds the guard (or it could not be made): leave quietly.
    bool AnotherInstanceRuns() const { return anotherInstanceRuns_; }

private:
    UniqueHandle mutex_;
    bool anotherInstanceRuns_ = false;
};

}  // namespace tessaro
