#include "package_support.h"

#include <msi.h>

#include <algorithm>
#include <filesystem>

namespace tessaro::e2e {

namespace {

std::wstring PackageName(const std::wstring& version, const wchar_t* extension) {
    return L"Tessaro-" + version + L"-win64." + extension;
}

}  // namespace

std::wstring ThisZip() { return BuiltFile(PackageName(kThisVersion, L"zip")); }
std::wstring ThisMsi() { return BuiltFile(PackageName(kThisVersion, L"msi")); }
std::wstring OlderMsi() { return BuiltFile(L"package-tests\\" + PackageName(kOlderVersion, L"msi")); }
std::wstring RebuiltMsi() { return BuiltFile(L"package-tests\\rebuilt\\" + PackageName(kThisVersion, L"msi")); }

std::vector<PackagedFile> PackagedFiles() {
    std::vector<PackagedFile> files{{L"Tessaro.scr", BuiltFile(L"shipped\\Tessaro.scr")}};
    for (int number = 1; number <= 46; ++number) {
        files.push_back({SlideName(number), BuiltFile(L"demo\\" + SlideName(number))});
    }
    return files;
}

bool FileExists(const std::wstring& path) {
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::path(path), ignored);
}

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder, length);
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(folder))) {
        names.push_back(entry.path().filename().wstring());
    }
    std::sort(names.begin(), names.end());
    return names;
}

DWORD RunMsiexec(const std::wstring& arguments) {
    const Process msiexec(SystemFolder() + L"\\msiexec.exe", L"msiexec " + arguments);
    if (!msiexec.Started() || !msiexec.WaitForExit(180s)) return kMsiexecDidNotEnd;
    return msiexec.ExitCode();
}

std::vector<std::wstring> InstalledProducts() {
    std::vector<std::wstring> codes;
    wchar_t code[39];
    for (DWORD index = 0; ::MsiEnumRelatedProductsW(L"" TESSARO_UPGRADE_CODE, 0, index, code) == ERROR_SUCCESS; ++index) {
        codes.emplace_back(code);
    }
    return codes;
}

std::wstring ProductInfo(const std::wstring& productCode, const wchar_t* property) {
    DWORD length = 0;
    if (::MsiGetProductInfoW(productCode.c_str(), property, nullptr, &length) != ERROR_SUCCESS) return {};
    std::wstring value(++length, L'\0');
    if (::MsiGetProductInfoW(productCode.c_str(), property, value.data(), &length) != ERROR_SUCCESS) return {};
    value.resize(length);
    return value;
}

namespace {

std::wstring RegistryText(HKEY key, const std::wstring& subkey, const wchar_t* name) {
    DWORD bytes = 0;
    if (::RegGetValueW(key, subkey.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS) return {};
    std::wstring text(bytes / sizeof(wchar_t), L'\0');
    if (::RegGetValueW(key, subkey.c_str(), name, RRF_RT_REG_SZ, nullptr, text.data(), &bytes) != ERROR_SUCCESS) return {};
    text.resize(wcslen(text.c_str()));
    return text;
}

}  // namespace

std::vector<UninstallEntry> TessaroUninstallEntries() {
    std::vector<UninstallEntry> entries;
    UniqueHkey uninstall;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 0,
                        KEY_READ | KEY_WOW64_64KEY, uninstall.put()) != ERROR_SUCCESS) {
        return entries;
    }
    wchar_t subkey[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (::RegEnumKeyExW(uninstall.get(), index, subkey, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (RegistryText(uninstall.get(), subkey, L"DisplayName") != L"Tessaro") continue;
        entries.push_back({RegistryText(uninstall.get(), subkey, L"DisplayVersion"),
                           RegistryText(uninstall.get(), subkey, L"Publisher")});
    }
    return entries;
}

void RemoveTessaro() {
    for (const std::wstring& code : InstalledProducts()) RunMsiexec(L"/x " + code + L" /qn");
    for (const PackagedFile& file : PackagedFiles()) ::DeleteFileW((SystemFolder() + L"\\" + file.name).c_str());
}

}  // namespace tessaro::e2e
