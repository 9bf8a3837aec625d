// morlu: a small graphics runtime for event-driven programs.
//
// canvas_open opens a 601 x 501 graphics window and a log console. Programs draw
// circles, triangles, rectangles, lines and text into a back buffer in logical
// coordinates: the origin is the centre of the graphics window, x grows to the
// right and y upward, and the picture spans x -300..300, y -250..250. Each frame
// reaches the screen whole while the program waits in canvas_await_event, which
// delivers clicks, typed characters and animation ticks, and ends with
// MORLU_QUIT when the user quits. Operations return 1 for done.
#pragma once

#include <cstdint>

// Event kinds, as canvas_await_event returns them.
constexpr int MORLU_MOUSE = 1;     // left button pressed; x and y in logical coordinates
constexpr int MORLU_KBD = 2;       // a character typed; its code as a signed 8-bit value
constexpr int MORLU_PERIODIC = 3;  // an animation tick
constexpr int MORLU_QUIT = 4;

// Animation modes for canvas_set_animation.
constexpr int ANIMATE_HALT = 0;  // no more ticks
constexpr int ANIMATE_STEP = 1;  // one tick, then as before
constexpr int ANIMATE_RUN = 2;   // a tick whenever nothing else is pending, at most ten a second
constexpr int ANIMATE_QUIT = 5;  // every later wait returns MORLU_QUIT

// Open the runtime with what the program's entry received: the instance, the
// previous instance (0 when this is the first), the command line (unused) and
// the show state. Always returns 1.
int canvas_open(uintptr_t instance, uintptr_t previous_instance, const char* command_line, int show_state);
// Release the graphics window's drawing context and close the script file.
int canvas_close();

// Wait for the next event and return its kind; the mouse position and the typed
// character of the event are stored in the three variables whatever the kind.
int canvas_await_event(int* mouse_x, int* mouse_y, char* key);
// Returns 0 before canvas_open, else 1; a mode not listed above changes nothing.
int canvas_set_animation(int mode);
// Describe every shape drawn in the log console (nonzero) or not (0); switching
// on also shows the console. Returns 0 before canvas_open, else 1.
int canvas_set_logging(int on);

// Colours are indices 0..23 into the palette: 0 black, 1 white, 2 red, 3 green,
// 4 blue, 5 yellow, 6 magenta, 7 cyan, 8 purple, 9 navy blue, 10 dusty plum,
// 11 ice blue, 12 turquoise, 13 orange, 14 brown, 15 pink, 16 chalk, 17 gold,
// 18 peach, 19 forest green, 20 sea green, 21 olive, 22 50% gray, 23 20% gray.
// Any other index draws red and is reported in the log. A width of 0 fills the
// shape; a larger one outlines it with a pen of that width. Negative radii,
// widths and point sizes are negated, with a line in the log.

// A filled circle covering the 2r + 1 pixels square centred on (x, y).
int canvas_circle(int color, int x, int y, int radius);
// A triangle through the three points, filled (width 0) or outlined.
int canvas_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width);
// A rectangle between two opposite corners given in any order; both corners'
// rows and columns are inside it.
int canvas_rectangle(int color, int x1, int y1, int x2, int y2, int width);
// A line at least one pixel wide; a one-pixel line leaves out its end point.
int canvas_line(int color, int x1, int y1, int x2, int y2, int width);
// Text in the given pixel size (0..127): (x, y) is the lower left corner of the
// first line; each "\n" starts a new line one line height lower.
int canvas_text(int color, int x, int y, int ptsize, const char* text);
// canvas_text with printf-style formatting; returns the number of characters
// formatted. A result over 1023 characters is drawn cut to 1023.
int canvas_printf(int color, int x, int y, int ptsize, const char* format, ...)
    __attribute__((format(printf, 5, 6)));
// Fill the whole back buffer white inside a one-pixel black frame.
int canvas_clear();

// Printf-style: appends one line to the log console and returns the number of
// characters formatted. A result over 1023 characters is stored cut to 1023.
int log_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
