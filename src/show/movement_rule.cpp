#include "movement_rule.h"

namespace tessaro {

bool MovementRule::OnMove(float x, float y) {
    if (mouseArmed_) {
        mouseArmed_ = false;
        mouseX0_ = x;
        mouseY0_ = y;
        return false;
    }
    const bool xInBand = mouseX0_ - kDeadZone <= x && x <= mouseX0_ + kDeadZone;
    const bool yInBand = mouseY0_ - kDeadZone <= y && y <= mouseY0_ + kDeadZone;
    return !xInBand && !yInBand;
}

}  // namespace tessaro
