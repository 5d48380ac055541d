#include "system_library.h"

#include <string>

#include "diagnostics.h"
#include "procedure.h"

namespace tessaro {

void SearchDllsInSystemFolderOnly() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
    const auto setDefaultDllDirectories =
        FindProcedure<SetDefaultDllDirectoriesFunction>(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (setDefaultDllDirectories && !setDefaultDllDirectories(kSearchSystem32)) {
        TraceFailure(L"limiting the DLL search to System32", L"the program", LastErrorResult());
    }
}

UniqueModule LoadSystemLibrary(std::wstring_view name) {
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return UniqueModule();
    std::wstring path(folder, length);
    path += L'\\';
    path += name;
    // The DLLs it imports are looked for in its own folder, System32, not beside the program,
    // also where the search could not be limited.
    return UniqueModule(::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

}  // namespace tessaro
