#pragma once
// Picture scaling of our own, so that slides look the same on every system: area averaging
// where an axis shrinks (every source pixel contributes by the area it covers) and Keys'
// bicubic (a = -0.5) where an axis grows. Each axis is treated on its own, and each result is
// held within the range of the source pixels it came from, so hard edges do not ring.

#include "bitmap.h"

namespace tessaro {

// Returns source scaled to width x height (both >= 1). Alpha is carried like the colours.
Bitmap Resample(const Bitmap& source, int width, int height);

}  // namespace tessaro
