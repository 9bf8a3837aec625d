// The bug table's starting contents and the cycles of size and movement.
#include "bug_app.h"

void next_movement(int32_t& movement) {
    movement = movement == MOVE_WALK ? MOVE_HOP : movement == MOVE_HOP ? MOVE_FLY : MOVE_WALK;
}

int32_t next_size(int32_t size) {
    return size == 10 ? 16 : size == 16 ? 20 : 10;
}

int32_t advance_sun(int32_t sun_x) {
    sun_x += SUN_STEP;
    return sun_x > SUN_LAST_X ? SUN_START_X : sun_x;
}

void init_bug_table(BugColumn& bug_x,
                    BugColumn& bug_height,
                    BugColumn& bug_color,
                    BugColumn& bug_size,
                    BugColumn& bug_movement,
                    BugColumn& bug_speed,
                    BugColumn& bug_moving,
                    BugColumn& bug_steps) {
    int32_t size = 20;
    int32_t movement = MOVE_WALK;
    int32_t speed = 10;
    for (int i = 0; i < MAX_BUGS; ++i) {
        bug_x[i] = 275;
        bug_height[i] = 0;
        bug_color[i] = i + 2;
        bug_moving[i] = 1;
        bug_steps[i] = 0;
        bug_size[i] = size;
        bug_movement[i] = movement;
        bug_speed[i] = speed;
        size = next_size(size);
        next_movement(movement);
        speed = speed >= 50 ? 10 : speed + 5;
    }
}
