#include <gtest/gtest.h>

#include "bug_app.h"

namespace {

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
