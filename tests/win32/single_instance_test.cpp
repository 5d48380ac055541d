// One instance per executable file, judged by the error CreateMutexW leaves, read before anything
// else can change it (this program's allocator clears it on every free).

#include "startup/single_instance.h"

#include <gtest/gtest.h>

#include <string>

namespace tessaro {
namespace {

TEST(SingleInstanceGuard, ASecondGuardForTheSameFileSeesTheFirstUntilItIsGone) {
    const std::wstring path = L"C:\\Tessaro Tests\\Guard-" + std::to_wstring(::GetCurrentProcessId()) + L".scr";
    {
        const SingleInstanceGuard first(path);
        EXPECT_FALSE(first.AnotherInstanceRuns());
        const SingleInstanceGuard second(path);
        EXPECT_TRUE(second.AnotherInstanceRuns()) << "the first start's guard was not seen";
        const SingleInstanceGuard otherFile(path + L".copy.scr");
        EXPECT_FALSE(otherFile.AnotherInstanceRuns());
    }
    const SingleInstanceGuard afterwards(path);
    EXPECT_FALSE(afterwards.AnotherInstanceRuns()) << "the guard outlived its holders";
}

}  // namespace
}  // namespace tessaro
