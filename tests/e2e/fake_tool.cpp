// Stands in for the System Information tool: each start appends a line to "<own path>.ran", so
// a test can tell which program the launcher started, and how often.

#include <windows.h>

#include <cstdio>
#include <string>

int wmain() {
    wchar_t self[4096];
    const DWORD length = ::GetModuleFileNameW(nullptr, self, 4096);
    const std::wstring marker = std::wstring(self, length) + L".ran";
    if (FILE* file = _wfopen(marker.c_str(), L"a")) {
        std::fputs("started\n", file);
        std::fclose(file);
    }
    return 0;
}
