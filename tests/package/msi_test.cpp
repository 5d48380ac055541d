// The MSI for administrators, installed, upgraded and removed with msiexec as they would.
// Each test starts and ends on a machine without Tessaro, even after a failed run.

#include <gtest/gtest.h>
#include <windows.h>
#include <msi.h>

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "package_support.h"
#include "saver_test_support.h"

namespace tessaro::e2e {
namespace {

using UniqueIcon = UniqueResource<HICON, &::DestroyIcon>;

constexpr wchar_t kPublisher[] = L"" TESSARO_COMPANY_NAME;

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }
std::wstring InSystemFolder(const std::wstring& name) { return SystemFolder() + L"\\" + name; }

DWORD Install(const std::wstring& msi) { return RunMsiexec(L"/i " + Quoted(msi) + L" /qn"); }

// The packaged files that are missing from System32 or differ there from the built ones.
std::vector<std::wstring> FilesNotInstalledAsBuilt() {
    std::vector<std::wstring> wrong;
    for (const PackagedFile& file : PackagedFiles()) {
        const std::string installed = ReadFileBytes(InSystemFolder(file.name));
        if (installed.empty() || installed != ReadFileBytes(file.built)) wrong.push_back(file.name);
    }
    return wrong;
}

// The names in names that are not in others; both sorted.
std::vector<std::wstring> NamesMissingFrom(const std::vector<std::wstring>& others, const std::vector<std::wstring>& names) {
    std::vector<std::wstring> missing;
    std::set_difference(names.begin(), names.end(), others.begin(), others.end(), std::back_inserter(missing));
    return missing;
}

struct ScreenDifference {
    std::size_t pixels;  // how many differ
    POINT first;         // the first that differs, row by row
};

// The screen against a picture of the screen's size.
ScreenDifference CompareScreenWith(const Picture& picture) {
    const Screenshot shot = Screenshot::Take();
    ScreenDifference difference{0, {}};
    for (int y = 0; y < shot.Height(); ++y) {
        for (int x = 0; x < shot.Width(); ++x) {
            if (shot.At(x, y) != picture.pixels[static_cast<std::size_t>(y) * picture.width + x] &&
                difference.pixels++ == 0) {
                difference.first = {x, y};
            }
        }
    }
    return difference;
}

// Expects exactly one Tessaro installed, of this version, with one entry in Apps & Features.
void ExpectOnlyThisVersionInstalled() {
    const std::vector<std::wstring> products = InstalledProducts();
    ASSERT_EQ(products.size(), 1u);
    EXPECT_EQ(ProductInfo(products[0], INSTALLPROPERTY_VERSIONSTRING), kThisVersion);
    const std::vector<UninstallEntry> entries = TessaroUninstallEntries();
    ASSERT_EQ(entries.size(), 1u) << "one entry in Apps & Features";
    EXPECT_EQ(entries[0].displayVersion, kThisVersion);
    EXPECT_EQ(entries[0].publisher, kPublisher);
}

class MsiPackage : public testing::Test {
protected:
    void SetUp() override {
        RemoveTessaro();
        ASSERT_TRUE(InstalledProducts().empty()) << "an earlier Tessaro could not be uninstalled";
        ASSERT_TRUE(FileExists(ThisMsi())) << "no MSI: build the package target";
    }
    void TearDown() override {
        RemoveTessaro();
        ::DeleteFileW(usersFile_.c_str());
    }

    // A slide of the user's own, beside where Tessaro's go.
    const std::wstring usersFile_ = InSystemFolder(L"ZUMIK47.DAT");
};

TEST_F(MsiPackage, InstallsTheSaverAndItsSlidesIntoSystem32WithAnUninstallEntry) {
    ASSERT_EQ(Install(ThisMsi()), ERROR_SUCCESS);

    EXPECT_EQ(FilesNotInstalledAsBuilt(), std::vector<std::wstring>{}) << "missing or different in " << SystemFolder();
    ExpectOnlyThisVersionInstalled();
    const std::wstring product = InstalledProducts().at(0);
    const std::wstring iconFile = ProductInfo(product, INSTALLPROPERTY_PRODUCTICON);
    const UniqueIcon icon(static_cast<HICON>(::LoadImageW(nullptr, iconFile.c_str(), IMAGE_ICON, 32, 32, LR_LOADFROMFILE)));
    EXPECT_TRUE(icon) << "Apps & Features has no icon to show: '" << testing::PrintToString(iconFile) << "'";
}

TEST_F(MsiPackage, TheInstalledSaverShowsSlide1OverTheWholeScreen) {
    ASSERT_EQ(Install(ThisMsi()), ERROR_SUCCESS);
    // Slide 1 is exactly as large as the screen: not smaller, so it is fitted, to the same size.
    const Picture slide = DecodePicture(ReadFileBytes(BuiltFile(L"demo\\ZUMIK01.DAT")));
    ASSERT_EQ(slide.width, ScreenWidth());
    ASSERT_EQ(slide.height, ScreenHeight());

    const std::wstring saver = InSystemFolder(L"Tessaro.scr");
    Process process(saver, Quoted(saver) + L" /s");
    ASSERT_TRUE(process.Started());
    ASSERT_NE(process.WaitForWindow(kSaverClass, 10000ms), nullptr) << "no saver window";
    // The window may be black for a moment before slide 1 appears.
    ScreenDifference closest{SIZE_MAX, {}};
    const bool shown = WaitUntil(
        [&] {
            const ScreenDifference now = CompareScreenWith(slide);
            if (now.pixels < closest.pixels) closest = now;
            return now.pixels == 0;
        },
        30000ms, 100ms);
    EXPECT_TRUE(shown) << "at best " << closest.pixels << " pixels differed from slide 1, the first at "
                       << closest.first.x << "," << closest.first.y;
    EndWithKey(process);
}

TEST_F(MsiPackage, ThisVersionReplacesAnOlderOneAndIsNotAddedTwice) {
    ASSERT_EQ(Install(OlderMsi()), ERROR_SUCCESS);
    ASSERT_EQ(InstalledProducts().size(), 1u);
    EXPECT_EQ(ProductInfo(InstalledProducts()[0], INSTALLPROPERTY_VERSIONSTRING), kOlderVersion);
    const std::string olderProgram = ReadFileBytes(BuiltFile(L"TessaroQuickCycle.scr"));
    ASSERT_TRUE(ReadFileBytes(InSystemFolder(L"Tessaro.scr")) == olderProgram) << "the older package's program";

    ASSERT_EQ(Install(ThisMsi()), ERROR_SUCCESS);
    ExpectOnlyThisVersionInstalled();
    EXPECT_EQ(FilesNotInstalledAsBuilt(), std::vector<std::wstring>{});

    // The same version again, from the same package or from another build of it, repairs or is
    // refused: it is never a second product.
    for (const std::wstring& sameVersion : {ThisMsi(), RebuiltMsi()}) {
        SCOPED_TRACE(testing::PrintToString(sameVersion));
        const DWORD again = Install(sameVersion);
        EXPECT_TRUE(again == ERROR_SUCCESS || again == ERROR_PRODUCT_VERSION) << "msiexec's exit code " << again;
        ExpectOnlyThisVersionInstalled();
    }

    EXPECT_EQ(Install(OlderMsi()), static_cast<DWORD>(ERROR_INSTALL_FAILURE)) << "an older version over this one";
    ExpectOnlyThisVersionInstalled();
    EXPECT_EQ(FilesNotInstalledAsBuilt(), std::vector<std::wstring>{});
}

TEST_F(MsiPackage, UninstallRemovesExactlyWhatItInstalled) {
    const std::string usersBytes = "the user's own slide";
    WriteFileBytes(usersFile_, usersBytes);
    const std::vector<std::wstring> before = FilesIn(SystemFolder());
    ASSERT_EQ(Install(ThisMsi()), ERROR_SUCCESS);
    ASSERT_EQ(InstalledProducts().size(), 1u);
    const std::wstring iconFile = ProductInfo(InstalledProducts()[0], INSTALLPROPERTY_PRODUCTICON);
    EXPECT_TRUE(FileExists(iconFile)) << "the icon Apps & Features shows";

    EXPECT_EQ(RunMsiexec(L"/x " + Quoted(ThisMsi()) + L" /qn"), ERROR_SUCCESS);

    const std::vector<std::wstring> after = FilesIn(SystemFolder());
    EXPECT_EQ(NamesMissingFrom(before, after), std::vector<std::wstring>{}) << "left in System32";
    EXPECT_EQ(NamesMissingFrom(after, before), std::vector<std::wstring>{}) << "removed from System32, though not installed";
    EXPECT_TRUE(ReadFileBytes(usersFile_) == usersBytes) << "the user's file changed";
    EXPECT_TRUE(InstalledProducts().empty());
    EXPECT_TRUE(TessaroUninstallEntries().empty()) << "the entry in Apps & Features stays";
    EXPECT_FALSE(FileExists(iconFile)) << "the icon stays";
}

}  // namespace
}  // namespace tessaro::e2e
