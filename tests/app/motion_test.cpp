#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "bug_app.h"

namespace {

constexpr int32_t MAX = std::numeric_limits<int32_t>::max();
constexpr int32_t MIN = std::numeric_limits<int32_t>::min();

// One bug in slot 0, the only live slot, moving; the other slots are set apart
// so that any change to them shows.
struct Bugs {
    BugColumn x{}, height{}, steps{}, movement{}, speed{}, size{}, moving{};
    int32_t selected = -1, debug_active = 0, count = 1;

    Bugs(int32_t x0, int32_t speed0, int32_t size0, int32_t movement0) {
        x.fill(111);
        size.fill(20);
        moving.fill(1);
        speed.fill(7);
        x[0] = x0;
        speed[0] = speed0;
        size[0] = size0;
        movement[0] = movement0;
    }
    void tick() {
        move_bugs(x, height, steps, movement, speed, size, selected, debug_active, moving, count);
    }
    // The main loop's order on a tick: motion first, then the fall.
    void tick_with_fall(int32_t selection_mode) {
        tick();
        if (debug_active != 0 && selection_mode != 0) debug_fall(x, height, selected, debug_active);
    }
};

TEST(WrapWidth, IsTwoAndAHalfSizesTruncatedAndNeverOverflows) {
    EXPECT_EQ(wrap_width(10), 25);
    EXPECT_EQ(wrap_width(16), 40);
    EXPECT_EQ(wrap_width(20), 50);
    EXPECT_EQ(wrap_width(3), 7);    // 7.5
    EXPECT_EQ(wrap_width(-3), -7);  // toward zero
    EXPECT_EQ(wrap_width(MAX), MAX);
    EXPECT_EQ(wrap_width(MIN), MIN);
}

TEST(MoveBugs, MovesLeftByTheSpeedAndCountsTheStep) {
    Bugs b(275, 10, 20, MOVE_WALK);
    b.tick();
    EXPECT_EQ(b.x[0], 265);
    EXPECT_EQ(b.steps[0], 1);
    EXPECT_EQ(b.height[0], 0);
}

// The limits 288, 280 and 275 for sizes 10, 16 and 20, on either side: one past
// the limit wraps, the limit itself does not.
TEST(MoveBugs, WrapsStrictlyBeyondTheLimitOfItsSizeOnEitherSide) {
    const int32_t sizes[] = {10, 16, 20};
    const int32_t limits[] = {288, 280, 275};
    for (int k = 0; k < 3; ++k) {
        const int32_t limit = limits[k];
        Bugs stays(-limit + 5, 5, sizes[k], MOVE_WALK);
        stays.steps[0] = 3;
        stays.tick();
        EXPECT_EQ(stays.x[0], -limit) << sizes[k];
        EXPECT_EQ(stays.steps[0], 4);
        Bugs wraps(-limit + 5, 6, sizes[k], MOVE_WALK);
        wraps.steps[0] = 3;
        wraps.height[0] = 30;
        wraps.tick();
        EXPECT_EQ(wraps.x[0], limit) << sizes[k];
        EXPECT_EQ(wraps.steps[0], 0);
        EXPECT_EQ(wraps.height[0], 0);
        // A bug to the right of the limit (a smaller size given to it) wraps too.
        Bugs right(limit + 1, 0, sizes[k], MOVE_WALK);
        right.tick();
        EXPECT_EQ(right.x[0], limit) << sizes[k];
    }
    Bugs small(-280, 10, 10, MOVE_WALK);  // would reach -290
    small.tick();
    EXPECT_EQ(small.x[0], 288);
}

TEST(MoveBugs, AWrapPutsTheBugAtTheEdgeWithoutSubtractingTheSpeed) {
    Bugs b(-270, 10, 20, MOVE_WALK);
    b.tick();
    EXPECT_EQ(b.x[0], 275);
    b.tick();
    EXPECT_EQ(b.x[0], 265);
    EXPECT_EQ(b.steps[0], 1);
}

TEST(MoveBugs, AHopperDropsOnEveryTenthStepAndRisesFiveStepsLater) {
    Bugs b(275, 0, 10, MOVE_HOP);  // speed 0: it hops in place, never wrapping
    std::vector<int32_t> heights;
    for (int tick = 1; tick <= 20; ++tick) {
        b.tick();
        heights.push_back(b.height[0]);
    }
    const std::vector<int32_t> want = {0, 0, 0, 0, 100, 100, 100, 100, 100, 0,
                                       0, 0, 0, 0, 100, 100, 100, 100, 100, 0};
    EXPECT_EQ(heights, want);
    EXPECT_EQ(b.steps[0], 20);
    EXPECT_EQ(b.x[0], 275);
}

TEST(MoveBugs, OnItsWrapTickAHopperIsAtStepZeroAndDrops) {
    Bugs b(-280, 10, 10, MOVE_HOP);
    b.steps[0] = 7;
    b.height[0] = 100;
    b.tick();
    EXPECT_EQ(b.x[0], 288);
    EXPECT_EQ(b.height[0], -100);
    for (int tick = 1; tick <= 5; ++tick) b.tick();
    EXPECT_EQ(b.height[0], 0);  // step 5
}

TEST(MoveBugs, AFlyerAtSpeedZeroClimbsInPlaceAndNeverWraps) {
    Bugs b(100, 0, 16, MOVE_FLY);
    for (int tick = 0; tick < 50; ++tick) b.tick();
    EXPECT_EQ(b.x[0], 100);
    EXPECT_EQ(b.height[0], 200);
    EXPECT_EQ(b.steps[0], 50);
}

TEST(MoveBugs, ASpeedOverTwiceTheLimitWrapsOnEveryTick) {
    Bugs hopper(275, 600, 20, MOVE_HOP);
    Bugs flyer(275, 600, 20, MOVE_FLY);
    for (int tick = 0; tick < 3; ++tick) {
        hopper.tick();
        flyer.tick();
        EXPECT_EQ(hopper.x[0], 275);
        EXPECT_EQ(hopper.steps[0], 0);
        EXPECT_EQ(hopper.height[0], -100);
        EXPECT_EQ(flyer.x[0], 275);
        EXPECT_EQ(flyer.height[0], 4);
    }
}

TEST(MoveBugs, AGrowingSizeShrinksTheLimitBelowTheBug) {
    Bugs b(288, 0, 10, MOVE_WALK);
    b.tick();
    EXPECT_EQ(b.x[0], 288);
    b.size[0] = next_size(next_size(10));  // 20
    b.tick();
    EXPECT_EQ(b.x[0], 275);
    EXPECT_EQ(b.steps[0], 0);
}

TEST(MoveBugs, OnlyLiveMovingBugsOutsideTheDebugViewMove) {
    Bugs b(200, 10, 20, MOVE_FLY);
    b.count = 3;
    b.moving[1] = 0;  // stopped
    b.selected = 2;
    b.debug_active = 1;  // slot 2 is in the debug view
    b.tick();
    const BugColumn before_x = b.x;
    EXPECT_EQ(b.x[0], 190);
    EXPECT_EQ(b.height[0], 4);
    for (int i = 1; i < MAX_BUGS; ++i) {
        EXPECT_EQ(b.x[i], 111) << i;
        EXPECT_EQ(b.height[i], 0) << i;
        EXPECT_EQ(b.steps[i], 0) << i;
    }
    b.debug_active = 0;  // the view is over: slot 2 moves again
    b.tick();
    EXPECT_EQ(b.x[2], before_x[2] - 7);
}

// Speeds grow without limit and flyers climb forever: every sum stops at the
// 32-bit limits, and the results below them are unchanged.
TEST(MoveBugs, ExtremeSpeedsHeightsAndStepCountsSaturate) {
    Bugs fast(-288, MAX, 10, MOVE_WALK);
    fast.tick();
    EXPECT_EQ(fast.x[0], 288);
    Bugs climber(0, 0, 16, MOVE_FLY);
    climber.height[0] = MAX - 5;
    climber.tick();
    EXPECT_EQ(climber.height[0], MAX - 1);
    climber.tick();
    EXPECT_EQ(climber.height[0], MAX);
    Bugs sinker(0, 0, 10, MOVE_HOP);
    sinker.height[0] = MIN + 50;
    sinker.steps[0] = 9;
    sinker.tick();  // step 10 drops 100
    EXPECT_EQ(sinker.height[0], MIN);
    // A hopper at speed 0 keeps its rhythm when its step count passes INT32_MAX
    // (which ends in 7): the count goes on at 8, 9, 10.
    Bugs old(0, 0, 10, MOVE_HOP);
    old.steps[0] = MAX - 1;
    old.tick();
    old.tick();
    EXPECT_EQ(old.steps[0], 8);
    old.tick();
    old.tick();
    EXPECT_EQ(old.steps[0], 10);
    EXPECT_EQ(old.height[0], -100);
}

TEST(DebugFall, FromGroundLevelEndsOnTheFortyThirdTickAtMinus430) {
    BugColumn x{}, height{};
    x[1] = 150;
    int32_t active = 1;
    for (int tick = 1; tick <= 42; ++tick) debug_fall(x, height, 1, active);
    EXPECT_EQ(height[1], -420);
    EXPECT_EQ(active, 1);
    EXPECT_EQ(x[1], 150);
    debug_fall(x, height, 1, active);
    EXPECT_EQ(height[1], -430);
    EXPECT_EQ(active, 0);
    EXPECT_EQ(x[1], 0);
}

TEST(DebugFall, FromBelowTheEndTakesOneTickAndNeverOverflows) {
    BugColumn x{}, height{};
    height[0] = -425;
    int32_t active = 1;
    debug_fall(x, height, 0, active);
    EXPECT_EQ(height[0], -435);
    EXPECT_EQ(active, 0);
    height[0] = MIN + 3;
    active = 1;
    debug_fall(x, height, 0, active);
    EXPECT_EQ(height[0], MIN);
    EXPECT_EQ(active, 0);
}

TEST(DebugFall, WorksOnASelectedSlotThatIsNoLongerLive) {
    Bugs b(275, 10, 20, MOVE_WALK);
    b.count = 2;
    b.selected = 4;
    b.debug_active = 1;
    for (int tick = 0; tick < 43; ++tick) b.tick_with_fall(1);
    EXPECT_EQ(b.height[4], -430);
    EXPECT_EQ(b.x[4], 0);
    EXPECT_EQ(b.debug_active, 0);
}

TEST(DebugFall, ASlotOutsideTheTableEndsTheViewAndTouchesNothing) {
    BugColumn x{}, height{};
    int32_t active = 1;
    debug_fall(x, height, -1, active);
    EXPECT_EQ(active, 0);
    active = 1;
    debug_fall(x, height, MAX_BUGS, active);
    EXPECT_EQ(active, 0);
    EXPECT_EQ(height, BugColumn{});
    EXPECT_EQ(x, BugColumn{});
}

// On the tick the fall ends, the motion has already run, so the fallen bug
// first moves, from x 0 at its fallen height, on the tick after.
TEST(DebugFall, TheFallenBugMovesAgainFromTheNextTick) {
    Bugs b(200, 10, 20, MOVE_WALK);
    b.selected = 0;
    b.debug_active = 1;
    for (int tick = 0; tick < 43; ++tick) b.tick_with_fall(1);
    EXPECT_EQ(b.x[0], 0);
    EXPECT_EQ(b.debug_active, 0);
    b.tick_with_fall(1);
    EXPECT_EQ(b.x[0], -10);
    EXPECT_EQ(b.height[0], -430);  // a walker keeps its height until it wraps
}

}  // namespace
