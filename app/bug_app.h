// The bug simulation: a landscape with cartoon bugs steered from a button panel.
#pragma once

#include <array>
#include <cstdint>

#include "morlu/canvas.h"

constexpr int MAX_BUGS = 15;
// The palette entries the landscape and the panel draw with.
constexpr int BLACK = 0, WHITE = 1, RED = 2, YELLOW = 5, ICE_BLUE = 11, ORANGE = 13, BROWN = 14,
              FOREST_GREEN = 19, OLIVE = 21;
constexpr int32_t MOVE_WALK = 0;
constexpr int32_t MOVE_HOP = 1;
constexpr int32_t MOVE_FLY = 2;

// One field of every bug slot; the bug table is eight of these, indexed by slot.
using BugColumn = std::array<int32_t, MAX_BUGS>;

// The sun's arc: it starts at the left, moves 5 per event and wraps after 300.
constexpr int32_t SUN_START_X = -270;
constexpr int32_t SUN_STEP = 5;
constexpr int32_t SUN_LAST_X = 300;

// Fill all 15 slots with the starting bugs.
void init_bug_table(BugColumn& bug_x,
                    BugColumn& bug_height,
                    BugColumn& bug_color,
                    BugColumn& bug_size,
                    BugColumn& bug_movement,
                    BugColumn& bug_speed,
                    BugColumn& bug_moving,
                    BugColumn& bug_steps);
// Walk -> hop -> fly -> walk, in place.
void next_movement(int32_t& movement);
// 10 -> 16 -> 20 -> 10.
int32_t next_size(int32_t size);
// The sun's next position: +5, and back to the start after 300.
int32_t advance_sun(int32_t sun_x);

// Scene and bug drawing.
void draw_scene(int32_t sun_x);
void draw_bugs(const BugColumn& bug_x,
               const BugColumn& bug_height,
               const BugColumn& bug_size,
               const BugColumn& bug_color,
               int32_t selected_bug,
               int32_t selection_mode,
               int32_t debug_active,
               int32_t bug_count);
void draw_debug_bug(const BugColumn& bug_x,
                    const BugColumn& bug_height,
                    const BugColumn& bug_color,
                    int32_t selected_bug);

// Control panel: 13 boxes down the left edge, row 0 at the top.
constexpr int PANEL_ROWS = 13;
constexpr int32_t PANEL_LEFT = -295;
constexpr int32_t PANEL_RIGHT = -220;
constexpr int32_t PANEL_TOP = 245;
constexpr int32_t PANEL_ROW_HEIGHT = 25;
constexpr int32_t PANEL_BOTTOM = PANEL_TOP - PANEL_ROWS * PANEL_ROW_HEIGHT;

// Draw the 13 outlined boxes and the 12 labels into the back buffer.
void panel_draw();
// 1 when the logical point lies strictly inside the column's outline, else 0.
int panel_hit(int32_t x, int32_t y);
// Carry out the command of the row under (x, y) for all live bugs (selection
// mode 0) or the selected bug alone. A point left or right of the column, the
// unlabelled row and any row outside 0..12 only report an internal error.
void panel_command(int32_t x,
                   int32_t y,
                   BugColumn& bug_moving,
                   BugColumn& bug_movement,
                   BugColumn& bug_color,
                   BugColumn& bug_speed,
                   int32_t& selection_mode,
                   BugColumn& bug_size,
                   int32_t& selected_bug,
                   int32_t& debug_active,
                   int32_t& bug_count);
// Red "INTERNAL ERROR!" at the origin; the next frame paints over it, so what
// remains is its line in the log while logging is on.
void report_internal_error();

// Bug motion and the debug fall. Positions, heights and speeds saturate at the
// 32-bit limits instead of overflowing.
// size x 2.5, formed in floating point and truncated toward zero; clamped to
// the 32-bit range for sizes no button can give.
int32_t wrap_width(int32_t size);
// Move each live, moving bug but the falling one left by its speed; past
// 300 - wrap_width / 2 on either side it wraps to that limit at height 0. Then
// hoppers drop 100 on every tenth step and rise 100 five steps later, and
// flyers climb 4.
void move_bugs(BugColumn& bug_x,
               BugColumn& bug_height,
               BugColumn& bug_steps,
               const BugColumn& bug_movement,
               const BugColumn& bug_speed,
               const BugColumn& bug_size,
               int32_t selected_bug,
               int32_t debug_active,
               const BugColumn& bug_moving,
               int32_t bug_count);
// Lower the selected bug by 10; once it is below -420 the view ends and the bug
// goes to x 0, keeping its height. A slot outside the table ends the view.
void debug_fall(BugColumn& bug_x, BugColumn& bug_height, int32_t selected_bug, int32_t& debug_active);
