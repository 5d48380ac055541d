#pragma once
// The colour profile the user gave the primary monitor (Color Management), which the slides are
// converted into.

#include <memory>

#include "colour/icc_profile.h"

namespace tessaro {

// Null when the monitor has none or it cannot be read. Asking takes objects of the window
// system's for a moment: a thread that renders slides is better given the answer than asking.
std::shared_ptr<const ProfileBytes> PrimaryMonitorProfile();

}  // namespace tessaro
