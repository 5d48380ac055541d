#include "slide_interval.h"

namespace tessaro {

// Compiled into each copy of the program with the interval its build gives it.
const unsigned kSlideIntervalMs = TESSARO_SLIDE_INTERVAL_MS;

}  // namespace tessaro
