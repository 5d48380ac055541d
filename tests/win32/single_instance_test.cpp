// One instance per executable file, judged by the error CreateMutexW leaves, read before anything
// else can change it (this program's allocator clears it on every free).

#include "startup/single_instance_guard.h"

#include <gtest/gtest.h>

#include <string>

#include "harness.h"

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

// The guard is the file's, not its path's: any other spelling of the path finds it, a copy does not.
TEST(SingleInstanceGuard, EverySpellingOfTheFilesPathIsOneInstanceAndACopyIsAnother) {
    const e2e::TempFolder folder(L"Äpfel Öl Σοφία tessaro");
    const e2e::TempFolder elsewhere;
    const std::wstring path = folder / L"Tessaro.scr";
    e2e::WriteFileBytes(path, "MZ");
    e2e::WriteFileBytes(elsewhere / L"Tessaro.scr", "MZ");

    const SingleInstanceGuard first(path);
    ASSERT_FALSE(first.AnotherInstanceRuns());
    const std::vector<e2e::Spelling> spellings = e2e::OtherSpellings(path);
    ASSERT_GE(spellings.size(), 2u);
    for (const e2e::Spelling& spelling : spellings) {
        ASSERT_NE(spelling.path, path) << spelling.what;
        EXPECT_TRUE(SingleInstanceGuard(spelling.path).AnotherInstanceRuns()) << spelling.what;
    }
    EXPECT_FALSE(SingleInstanceGuard(elsewhere / L"Tessaro.scr").AnotherInstanceRuns()) << "a copy in another folder";
}

}  // namespace
}  // namespace tessaro
