#pragma once

namespace tessaro {

// Time each slide stays on screen. Fixed at build time: the shipped program always uses 10 s.
extern const unsigned kSlideIntervalMs;

}  // namespace tessaro
