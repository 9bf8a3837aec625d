#include <gtest/gtest.h>

#include "bug_app.h"

namespace {

TEST(BugTable, StartsWithTheFifteenSlotsOfTheTable) {
    BugColumn x{}, height{}, color{}, size{}, movement{}, speed{}, moving{}, steps{};
    init_bug_table(x, height, color, size, movement, speed, moving, steps);
    const BugColumn want_size = {20, 10, 16, 20, 10, 16, 20, 10, 16, 20, 10, 16, 20, 10, 16};
    const BugColumn want_speed = {10, 15, 20, 25, 30, 35, 40, 45, 50, 10, 15, 20, 25, 30, 35};
    for (int i = 0; i < MAX_BUGS; ++i) {
        EXPECT_EQ(x[i], 275);
        EXPECT_EQ(height[i], 0);
        EXPECT_EQ(color[i], i + 2);
        EXPECT_EQ(size[i], want_size[i]) << i;
        EXPECT_EQ(movement[i], i % 3) << i;  // walk, hop, fly, walk, ...
        EXPECT_EQ(speed[i], want_speed[i]) << i;
        EXPECT_EQ(moving[i], 1);
        EXPECT_EQ(steps[i], 0);
    }
}

TEST(BugTable, SizeAndMovementGoRoundInCycles) {
    EXPECT_EQ(next_size(10), 16);
    EXPECT_EQ(next_size(16), 20);
    EXPECT_EQ(next_size(20), 10);
    int32_t m = MOVE_WALK;
    next_movement(m);
    EXPECT_EQ(m, MOVE_HOP);
    next_movement(m);
    EXPECT_EQ(m, MOVE_FLY);
    next_movement(m);
    EXPECT_EQ(m, MOVE_WALK);
}

TEST(Sun, TakesOneHundredFifteenPositionsAndNeverPasses300) {
    EXPECT_EQ(advance_sun(295), 300);
    EXPECT_EQ(advance_sun(300), -270);
    int32_t sun = SUN_START_X;
    int positions = 0;
    do {
        ++positions;
        sun = advance_sun(sun);
        ASSERT_LE(sun, 300);
    } while (sun != SUN_START_X);
    EXPECT_EQ(positions, 115);
}

}  // namespace
