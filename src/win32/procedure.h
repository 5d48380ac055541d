#pragma once
// Functions looked up at run time, for what a program must not import by name: functions newer
// than the oldest Windows it runs on, and libraries only some of its threads need.

#include <windows.h>

namespace tessaro {

// The function name exports from module, or null when module is null or lacks it.
template <typename Function>
Function FindProcedure(HMODULE module, const char* name) {
    if (!module) return nullptr;
    // Through a pointer to a function without parameters, the conversion any function pointer
    // may take.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

}  // namespace tessaro
