#pragma once

namespace tessaro {

// Time each slide stays on screen, fixed at build time (CMakeLists.txt): 10 s in the shipped
// program, shorter in the quick-cycle copy the tests use.
extern const unsigned kSlideIntervalMs;

}  // namespace tessaro
