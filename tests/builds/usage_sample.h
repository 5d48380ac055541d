#pragma once
// One sample of what a test build of the saver holds, as it writes it with OutputDebugStringW and
// as the tests and benchmarks read it back.
//
// Wine answers GetProcessHandleCount and GetGuiResources with 0, so the program counts what it
// holds by the objects it is given next: a new kernel handle takes the lowest free slot, and the
// low 16 bits of a GDI or USER handle are its index in the table of such objects. A process that
// leaks pushes all three up for good.

#include <cstdint>
#include <cwchar>
#include <iterator>
#include <optional>
#include <string>

namespace tessaro {

struct UsageSample {
    std::uint64_t slides = 0;       // slides asked for so far, the one about to be rendered included
    std::uint32_t eventHandle = 0;  // the value of a new event's handle
    std::uint32_t gdiIndex = 0;     // the table index of a new bitmap
    std::uint32_t userIndex = 0;    // the table index of a new menu
    std::uint64_t workingSetKb = 0; // measured from outside the process; 0 in the program's own line
};

inline constexpr wchar_t kUsageSampleFormat[] = L"Tessaro usage: slides %llu, event %x, gdi %x, user %x";

inline std::wstring FormatUsageSample(const UsageSample& sample) {
    wchar_t line[128];
    std::swprintf(line, std::size(line), kUsageSampleFormat, static_cast<unsigned long long>(sample.slides),
                  sample.eventHandle, sample.gdiIndex, sample.userIndex);
    return line;
}

// Empty for any other line.
inline std::optional<UsageSample> ParseUsageSample(const std::wstring& line) {
    unsigned long long slides = 0;
    unsigned event = 0, gdi = 0, user = 0;
    if (std::swscanf(line.c_str(), kUsageSampleFormat, &slides, &event, &gdi, &user) != 4) return std::nullopt;
    return UsageSample{slides, event, gdi, user, 0};
}

}  // namespace tessaro
