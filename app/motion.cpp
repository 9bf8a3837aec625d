// Bug motion on each animation tick, and the debug view's fall.
#include <cmath>
#include <cstdlib>
#include <limits>

#include "bug_app.h"
#include "saturating.h"

namespace {

constexpr int32_t PICTURE_HALF_WIDTH = 300;
constexpr int32_t HOP = 100;
constexpr int32_t CLIMB = 4;
constexpr int32_t FALL_STEP = 10;
constexpr int32_t FALL_END = -420;

// Where a bug of this size wraps: 300 - wrap_width / 2, truncated.
int32_t wrap_limit(int32_t size) {
    return PICTURE_HALF_WIDTH - wrap_width(size) / 2;
}

// One more step. A bug at speed 0 never wraps, so its count can reach INT32_MAX;
// it then goes on from 8, which keeps the count's remainder by 10 (2^31 ends in
// 8) and with it the hop rhythm.
int32_t next_step(int32_t steps) {
    constexpr int32_t MAX = std::numeric_limits<int32_t>::max();
    return steps < MAX ? steps + 1 : MAX % 10 + 1;
}

// Move left by the speed, or go back to the right-hand edge at height 0
// when the new x lies beyond the limit on either side. The difference is formed
// in 64 bits, so no speed can overflow it.
void step_or_wrap(int32_t& x, int32_t& height, int32_t& steps, int32_t speed, int32_t size) {
    const int32_t limit = wrap_limit(size);
    const int64_t nx = static_cast<int64_t>(x) - speed;
    if (std::llabs(nx) > limit) {
        x = limit;
        height = 0;
        steps = 0;
        return;
    }
    x = static_cast<int32_t>(nx);  // |nx| <= limit, so it fits
    steps = next_step(steps);
}

// Hoppers drop on every tenth step and rise five steps later; flyers climb.
int32_t lift(int32_t movement, int32_t steps) {
    if (movement == MOVE_FLY) return CLIMB;
    if (movement != MOVE_HOP) return 0;
    if (steps % 10 == 0) return -HOP;
    return steps % 5 == 0 ? HOP : 0;
}

}  // namespace

int32_t wrap_width(int32_t size) {
    const double w = std::trunc(size * 2.5);
    constexpr double LOW = std::numeric_limits<int32_t>::min();
    constexpr double HIGH = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::fmin(std::fmax(w, LOW), HIGH));
}

void move_bugs(BugColumn& bug_x,
               BugColumn& bug_height,
               BugColumn& bug_steps,
               const BugColumn& bug_movement,
               const BugColumn& bug_speed,
               const BugColumn& bug_size,
               int32_t selected_bug,
               int32_t debug_active,
               const BugColumn& bug_moving,
               int32_t bug_count) {
    for (int32_t i = 0; i < bug_count && i < MAX_BUGS; ++i) {
        if (debug_active == 1 && i == selected_bug) continue;  // it falls in the debug view instead
        if (bug_moving[i] == 0) continue;
        step_or_wrap(bug_x[i], bug_height[i], bug_steps[i], bug_speed[i], bug_size[i]);
        bug_height[i] = add_saturated(bug_height[i], lift(bug_movement[i], bug_steps[i]));
    }
}

void debug_fall(BugColumn& bug_x, BugColumn& bug_height, int32_t selected_bug, int32_t& debug_active) {
    // Only a slot given directly, never the main loop, can lie outside the table;
    // with no bug to lower, the view ends.
    if (selected_bug < 0 || selected_bug >= MAX_BUGS) {
        debug_active = 0;
        return;
    }
    int32_t& height = bug_height[selected_bug];
    height = add_saturated(height, -FALL_STEP);
    if (height < FALL_END) {
        debug_active = 0;
        bug_x[selected_bug] = 0;
    }
}
