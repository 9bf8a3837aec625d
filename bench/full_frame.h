// The full frame both frame benchmarks draw: the scene, the panel, 15 bugs
// spread across the picture with one selected, and the magnified bug.
#pragma once

#include "bug_app.h"

struct Bugs {
    BugColumn x{}, height{}, color{}, size{}, movement{}, speed{}, moving{}, steps{};
    Bugs() {
        init_bug_table(x, height, color, size, movement, speed, moving, steps);
        for (int i = 0; i < MAX_BUGS; ++i) x[i] = 280 - 40 * i;  // spread across the picture
    }
};

// Draw one frame and return the sun's next place, so frames differ as they run.
inline int32_t draw_full_frame(const Bugs& bugs, int32_t sun_x) {
    draw_scene(sun_x);
    panel_draw();
    draw_bugs(bugs.x, bugs.height, bugs.size, bugs.color, 3, 1, 1, MAX_BUGS);
    draw_debug_bug(bugs.x, bugs.height, bugs.color, 3);
    return advance_sun(sun_x);
}
