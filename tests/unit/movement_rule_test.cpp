#include "show/movement_rule.h"

#include <gtest/gtest.h>

namespace tessaro {
namespace {

TEST(MovementRule, EndsOnlyWhenBothCoordinatesLeaveTheDeadZone) {
    struct Case {
        float x, y;
        bool ends;
    };
    const Case cases[] = {
        {100, 100, false}, {105, 105, false}, {95, 95, false},   // bounds included
        {106, 100, false}, {100, 500, false}, {-400, 104, false}, // one coordinate still in its band
        // Each bound on its own, with the other coordinate outside its band.
        {95, 106, false},  {105, 94, false},  {106, 95, false},  {94, 105, false},
        {106, 106, true},  {94, 106, true},   {94, 94, true},   {106, 94, true},
        {105.5f, 105.5f, true},
    };
    for (const Case& c : cases) {
        MovementRule rule;
        rule.Arm();
        ASSERT_FALSE(rule.OnMove(100, 100));
        EXPECT_EQ(rule.OnMove(c.x, c.y), c.ends) << "move to " << c.x << ", " << c.y;
    }
}

TEST(MovementRule, FirstMoveAfterArmingOnlyRecordsTheReference) {
    MovementRule rule;
    rule.Arm();
    EXPECT_FALSE(rule.OnMove(900, 700)) << "however far the first move is";
    EXPECT_FALSE(rule.Armed());
    EXPECT_FALSE(rule.OnMove(905, 695));
    rule.Arm();
    EXPECT_FALSE(rule.OnMove(10, 10)) << "re-armed: records again";
    EXPECT_TRUE(rule.OnMove(16, 16));
}

TEST(MovementRule, ReferenceStaysFixedSoSlowDriftAddsUp) {
    MovementRule rule;
    rule.Arm();
    rule.OnMove(100, 100);
    EXPECT_FALSE(rule.OnMove(103, 103));
    EXPECT_FALSE(rule.OnMove(105, 105));
    EXPECT_TRUE(rule.OnMove(107, 107));
}

}  // namespace
}  // namespace tessaro
