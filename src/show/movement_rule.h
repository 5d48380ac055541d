#pragma once
// When a mouse movement ends the saver: only when the pointer leaves a dead zone of 5 pixels
// around a reference point in both directions at once. The first movement after arming only
// records the reference point.

namespace tessaro {

class MovementRule {
public:
    static constexpr float kDeadZone = 5.0f;

    // The next movement records a fresh reference point instead of being judged.
    void Arm() { mouseArmed_ = true; }
    bool Armed() const { return mouseArmed_; }

    // True when this movement ends the saver.
    bool OnMove(float x, float y);

private:
    bool mouseArmed_ = false;
    float mouseX0_ = 0.0f;
    float mouseY0_ = 0.0f;
};

}  // namespace tessaro
