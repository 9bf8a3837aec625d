// The landscape, the sun, the help text, the bugs and the magnified bug.
#include <algorithm>
#include <cmath>

#include "bug_app.h"
#include "morlu/canvas.h"

namespace {

constexpr int32_t SUN_ARC_RADIUS = 220;

// The sky is ice blue while the sun is well above the horizon, orange near it.
void draw_sky_and_sun(int32_t sun_x) {
    canvas_rectangle(-200 < sun_x && sun_x < 200 ? ICE_BLUE : ORANGE, -300, -250, 300, 250, 0);
    // Beyond the arc's ends the sun has no point on it and is not drawn.
    if (sun_x < -SUN_ARC_RADIUS || sun_x > SUN_ARC_RADIUS) return;
    const int y =
        static_cast<int>(std::sqrt(static_cast<double>(SUN_ARC_RADIUS * SUN_ARC_RADIUS - sun_x * sun_x)));
    canvas_circle(YELLOW, sun_x, y, 25);
}

void draw_land() {
    canvas_rectangle(OLIVE, -300, -250, 300, 0, 0);
    canvas_triangle(BROWN, -325, 0, -50, 0, -200, 170, 0);
    canvas_triangle(BROWN, 325, 0, 50, 0, 225, 170, 0);
    canvas_triangle(WHITE, -146, 110, -246, 110, -200, 170, 0);
    canvas_triangle(WHITE, 261, 110, 162, 110, 225, 170, 0);
    canvas_rectangle(WHITE, -300, -5, 300, 5, 0);
}

void draw_clouds() {
    for (int d = 200; d < 350; d += 120) canvas_circle(WHITE, 300 - d, 195, 30);
    for (int d = 240; d < 300; d += 40) canvas_circle(WHITE, 300 - d, 195, 50);
}

void draw_help_text() {
    canvas_printf(BLACK, -285, -180, 12, "Click a button to control the bug.");
    canvas_printf(BLACK, -285, -200, 12, "Click 'Select Bug' to select a single but to control");
    canvas_printf(BLACK, -285, -220, 12, "Click 'Select Bug' again to control all the bugs.");
    canvas_printf(BLACK, -285, -240, 12, "The 'DEBUB button only works for individually selected bugs.");
}

// The small figure facing left: x and b are the centre of its head, s its size unit.
void draw_bug_figure(int32_t x, int32_t b, int32_t s, int32_t c, bool highlighted) {
    canvas_circle(c, x, b, s);
    canvas_line(BLACK, x, b + s, x, b + 5 * s / 3, 2);
    if (highlighted)
        canvas_circle(YELLOW, x, b + 5 * s / 3, s / 2);
    else
        canvas_circle(BLACK, x, b + 5 * s / 3, s / 4);
    canvas_circle(WHITE, x - s / 2, b + s / 4, s / 3);
    canvas_circle(BLACK, x - 3 * s / 8, b + s / 5, s / 4);
    canvas_rectangle(c, x - s / 4, b - 5 * s / 4, x + s / 4, b - 7 * s / 8, 0);
    canvas_circle(c, x, b - 23 * s / 12, 3 * s / 4);
    canvas_line(BLACK, x, b - 31 * s / 12, x - s / 2, b - 13 * s / 4, 2);
    canvas_line(BLACK, x - s / 2, b - 13 * s / 4, x + s / 4, b - 17 * s / 4, 2);
    canvas_circle(BLACK, x + s / 4, b - 17 * s / 4, s / 6);
    canvas_line(BLACK, x + s / 4, b - 31 * s / 12, x - s / 4, b - 13 * s / 4, 2);
    canvas_line(BLACK, x - s / 4, b - 13 * s / 4, x + s / 2, b - 17 * s / 4, 2);
    canvas_circle(BLACK, x + s / 2, b - 17 * s / 4, s / 6);
    canvas_line(BLACK, x, b - 19 * s / 12, x - 4 * s / 3, b - 2 * s, 2);
    canvas_circle(BLACK, x - 4 * s / 3, b - 2 * s, s / 6);
}

// Heights saturate at the 32-bit limits, and the figures reach about 410 from
// their anchor; a bug farther out than 2^30 is off the picture either way, so it
// is drawn there and no coordinate overflows.
int32_t drawable(int32_t v) {
    constexpr int32_t FAR = 1 << 30;
    return std::clamp(v, -FAR, FAR);
}

}  // namespace

void draw_scene(int32_t sun_x) {
    draw_sky_and_sun(sun_x);
    draw_land();
    draw_clouds();
    draw_help_text();
}

void draw_bugs(const BugColumn& bug_x,
               const BugColumn& bug_height,
               const BugColumn& bug_size,
               const BugColumn& bug_color,
               int32_t selected_bug,
               int32_t selection_mode,
               int32_t debug_active,
               int32_t bug_count) {
    for (int32_t i = 0; i < bug_count && i < MAX_BUGS; ++i) {
        if (debug_active != 0 && i == selected_bug) continue;  // shown magnified instead
        const int32_t s = bug_size[i];
        // 4.5 s, exact for the sizes 10, 16 and 20.
        const int32_t base_y = drawable(bug_height[i]) + 9 * s / 2;
        draw_bug_figure(drawable(bug_x[i]), base_y, s, bug_color[i],
                        i == selected_bug && selection_mode == 1);
    }
}

void draw_debug_bug(const BugColumn& bug_x,
                    const BugColumn& bug_height,
                    const BugColumn& bug_color,
                    int32_t selected_bug) {
    if (selected_bug < 0 || selected_bug >= MAX_BUGS) return;
    const int32_t x = drawable(bug_x[selected_bug]), h = drawable(bug_height[selected_bug]);
    const int32_t c = bug_color[selected_bug];
    canvas_circle(c, x, h + 100, 170);
    canvas_line(BLACK, x, h + 270, x + 170, h + 79, 2);
    canvas_circle(BLACK, x, h + 270, 42);
    canvas_circle(WHITE, x - 85, h + 142, 85);
    canvas_circle(BLACK, x - 63, h + 129, 42);
    canvas_circle(WHITE, x + 85, h + 142, 85);
    canvas_circle(BLACK, x + 56, h + 134, 42);
    canvas_rectangle(c, x - 42, h - 112, x + 42, h - 48, 0);
    canvas_circle(c, x + 15, h - 183, 127);
    canvas_line(BLACK, x, h - 240, x + 85, h - 325, 2);
    canvas_line(BLACK, x + 85, h - 325, x + 42, h - 410, 2);
    canvas_circle(BLACK, x, h - 240, 28);
    canvas_line(BLACK, x - 42, h + 44, x - 42, h - 27, 2);
    canvas_line(BLACK, x - 42, h - 27, x + 85, h - 70, 2);
    canvas_circle(BLACK, x + 85, h - 70, 28);
    canvas_line(BLACK, x, h - 169, x - 226, h - 240, 2);
    canvas_circle(BLACK, x - 226, h - 240, 28);
}
