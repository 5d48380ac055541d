#pragma once
// What the package tests share: the built packages and the files they carry, msiexec, and what
// Windows Installer and the registry say about the installed product.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "harness.h"
#include "version.h"

namespace tessaro::e2e {

inline constexpr wchar_t kThisVersion[] = L"" TESSARO_VERSION_TEXT;
inline constexpr wchar_t kOlderVersion[] = L"" TESSARO_OLDER_TEST_VERSION;

// The packages the package target built, and two MSIs only for the tests, in package-tests:
// an older version, and this version built a second time.
std::wstring ThisZip();
std::wstring ThisMsi();
std::wstring OlderMsi();
std::wstring RebuiltMsi();

// A file the packages carry, by its name there and the built file it must equal.
struct PackagedFile {
    std::wstring name;
    std::wstring built;
};
// Tessaro.scr as shipped (signed, where the build signs), then ZUMIK01.DAT to ZUMIK46.DAT.
std::vector<PackagedFile> PackagedFiles();

bool FileExists(const std::wstring& path);
std::wstring SystemFolder();  // the 64-bit System32
std::vector<std::wstring> FilesIn(const std::wstring& folder);  // names, sorted

// Runs msiexec with the arguments and returns its exit code; kMsiexecDidNotEnd when it did not
// start or did not end in time.
inline constexpr DWORD kMsiexecDidNotEnd = 0xFFFFFFFF;
DWORD RunMsiexec(const std::wstring& arguments);

// Product codes of every installed version of Tessaro (those of its upgrade code).
std::vector<std::wstring> InstalledProducts();
std::wstring ProductInfo(const std::wstring& productCode, const wchar_t* property);

// The entries named Tessaro in Apps & Features (the machine's Uninstall key).
struct UninstallEntry {
    std::wstring displayVersion;
    std::wstring publisher;
};
std::vector<UninstallEntry> TessaroUninstallEntries();

// Uninstalls every installed version and deletes any packaged file left in System32, so that a
// test starts on a machine without Tessaro whatever an earlier, failed run left behind.
void RemoveTessaro();

}  // namespace tessaro::e2e
