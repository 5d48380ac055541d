#include "module_info.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "diagnostics.h"
#include "procedure.h"
#include "system_library.h"

namespace tessaro {

std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);  // truncated: try again with room for a longer path
    }
}

namespace {

using VerQueryValueFunction = BOOL(WINAPI*)(const void*, const wchar_t*, void**, UINT*);

std::optional<std::wstring> QueryString(VerQueryValueFunction query, const void* block, const wchar_t* translation,
                                        const wchar_t* name) {
    std::wstring path = L"\\StringFileInfo\\";
    path += translation;
    path += L"\\";
    path += name;
    void* text = nullptr;
    UINT length = 0;
    if (!query(block, path.c_str(), &text, &length) || !text) return std::nullopt;
    return std::wstring(static_cast<const wchar_t*>(text), wcsnlen(static_cast<const wchar_t*>(text), length));
}

}  // namespace

std::optional<VersionInfo> ReadVersionInfo(HRESULT& failure) {
    const auto failed = [&failure](HRESULT why) {
        failure = why;
        return std::nullopt;
    };
    const HRESULT incomplete = HRESULT_FROM_WIN32(ERROR_RESOURCE_DATA_NOT_FOUND);
    // version.dll is no KnownDLL: imported, it would be looked for beside the program first.
    const UniqueModule versionLibrary = LoadSystemLibrary(L"version.dll");
    if (!versionLibrary) return failed(LastErrorResult());
    const auto query = FindProcedure<VerQueryValueFunction>(versionLibrary.get(), "VerQueryValueW");
    if (!query) return failed(HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND));
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16) /* RT_VERSION */);
    if (!resource) return failed(LastErrorResult());
    HGLOBAL loaded = ::LoadResource(module, resource);
    if (!loaded) return failed(LastErrorResult());
    const void* data = ::LockResource(loaded);
    if (!data) return failed(incomplete);
    // VerQueryValueW may write into the block, so it works on a copy.
    const auto* bytes = static_cast<const BYTE*>(data);
    std::vector<BYTE> block(bytes, bytes + ::SizeofResource(module, resource));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedLength = 0;
    if (!query(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedLength) || !fixed) return failed(incomplete);
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT translationsLength = 0;
    if (!query(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
               &translationsLength) ||
        translationsLength < sizeof(Translation)) {
        return failed(incomplete);
    }
    wchar_t translation[9];
    std::swprintf(translation, 9, L"%04x%04x", translations[0].language, translations[0].codePage);

    VersionInfo info;
    info.major = HIWORD(fixed->dwFileVersionMS);
    info.minor = LOWORD(fixed->dwFileVersionMS);
    info.revision = HIWORD(fixed->dwFileVersionLS);  // FILEVERSION major,minor,revision,0
    const auto product = QueryString(query, block.data(), translation, L"ProductName");
    const auto company = QueryString(query, block.data(), translation, L"CompanyName");
    const auto copyright = QueryString(query, block.data(), translation, L"LegalCopyright");
    if (!product || !company || !copyright) return failed(incomplete);
    info.productName = *product;
    info.companyName = *company;
    info.legalCopyright = *copyright;
    return info;
}

}  // namespace tessaro
