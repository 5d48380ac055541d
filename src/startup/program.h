#pragma once
// The program from its entry point on: one instance per executable, then the command-line switch
// decides between the saver, the settings dialog, the password message and an immediate exit.
// The shipped program and its test builds each have an entry point of their own that says how
// their saver is built.

#include <windows.h>

#include "saver/saver_build.h"

namespace tessaro {

// The process's exit code.
int RunProgram(HINSTANCE instance, SaverBuild saverBuild);

}  // namespace tessaro
