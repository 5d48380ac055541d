#pragma once
// How test failures show a pixel box.

#include <ostream>

#include "dialog_design/dialog_layout.h"

namespace tessaro {

inline std::ostream& operator<<(std::ostream& out, const PixelBox& box) {
    return out << "{" << box.left << ", " << box.top << ", " << box.width << ", " << box.height << "}";
}

}  // namespace tessaro
