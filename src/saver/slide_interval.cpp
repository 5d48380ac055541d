#include "slide_interval.h"

#ifndef TESSARO_SLIDE_INTERVAL_MS
#define TESSARO_SLIDE_INTERVAL_MS 10000
#endif

namespace tessaro {

const unsigned kSlideIntervalMs = TESSARO_SLIDE_INTERVAL_MS;

}  // namespace tessaro
