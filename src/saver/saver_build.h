#pragma once
// What sets one build of the saver apart from another: how long a slide stays, and what decodes
// the slides. Each entry point says it; the rest of the program is the same in every build.

#include <chrono>

#include "show/slide_worker.h"

namespace tessaro {

struct SaverBuild {
    std::chrono::milliseconds slideInterval;
    SlideWorker::MakeDecoder makeDecoder;  // made on each worker's thread
};

}  // namespace tessaro
