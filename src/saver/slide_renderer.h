#pragma once
// Loads one slide file and composes the screen it makes. A function of the file and the screen
// size only, so it could as well run away from the GUI thread; needs COM on the calling thread.

#include <optional>
#include <string>

#include "slide_frame.h"

namespace tessaro {

// Empty when the file is missing, is no picture WIC can read (the format is recognised from the
// content, never from the name), is too large to decode safely, or cannot be placed.
std::optional<SlideFrame> RenderSlide(const std::wstring& path, int screenWidth, int screenHeight);

}  // namespace tessaro
