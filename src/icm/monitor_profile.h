#pragma once
// The colour profile the user gave the primary monitor (Color Management), which the slides are
// converted into.

#include <optional>

#include "colour/icc_profile.h"

namespace tessaro {

// Empty when the monitor has none or it cannot be read; any thread.
std::optional<ProfileBytes> PrimaryMonitorProfile();

}  // namespace tessaro
