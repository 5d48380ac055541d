#pragma once
// The copy of the saver that tests run to watch slides change: the program with a slide every
// TESSARO_QUICK_CYCLE_INTERVAL_MS (set in CMakeLists.txt) rather than every ten seconds.

#include <chrono>

namespace tessaro {

inline constexpr wchar_t kQuickCycleProgram[] = L"TessaroQuickCycle.scr";
inline constexpr std::chrono::milliseconds kQuickCycleInterval{TESSARO_QUICK_CYCLE_INTERVAL_MS};

}  // namespace tessaro
