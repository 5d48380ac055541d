#pragma once

#include <memory>

#include "slide_worker.h"

namespace tessaro {

// The decoder every slide worker renders with, made on the worker's thread. Like the slide
// interval, it is chosen when each copy of the program is linked: WIC in the program itself
// (wic_decoder_choice.cpp), another in a test build.
std::unique_ptr<SlideDecoder> MakeSlideDecoder();

}  // namespace tessaro
