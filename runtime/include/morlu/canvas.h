/* morlu: a small graphics runtime for event-driven programs, in C and C++.
 *
 * A first program, how to build it and how to run it with a tape:
 * docs/first-program.md.
 *
 * A program defines app_main; the morlu_main library supplies main, which opens
 * the desktop windows (or, with --tape FILE, runs the program headless through a
 * tape of user actions) and calls app_main as the platform's start-up did.
 *
 * canvas_open opens a 601 x 501 graphics window and a log console. Programs draw
 * circles, triangles, rectangles, lines and text into a back buffer in logical
 * coordinates: the origin is the centre of the graphics window, x grows to the
 * right and y upward, and the picture spans x -300..300, y -250..250. Each frame
 * reaches the screen whole while the program waits in canvas_await_event, which
 * delivers clicks, typed characters and animation ticks, and ends with
 * MORLU_QUIT when the user quits. Operations return 1 for done. Called before
 * canvas_open they change nothing, and those that say so return 0; after
 * canvas_close nothing more reaches the screen. The first drawing call before
 * canvas_open, and the first after canvas_close, each say so once, in one line
 * on standard error and in the log.
 */
#ifndef MORLU_CANVAS_H
#define MORLU_CANVAS_H

#include <stdint.h>

#if defined(_WIN32) && defined(MORLU_DLL)
#define MORLU_API __declspec(dllimport)
#elif defined(__GNUC__)
#define MORLU_API __attribute__((visibility("default")))
#else
#define MORLU_API
#endif

#if defined(__GNUC__)
#define MORLU_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define MORLU_PRINTF(fmt, args)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Event kinds, as canvas_await_event returns them. */
enum {
    MORLU_MOUSE = 1,    /* left button pressed; x and y in logical coordinates */
    MORLU_KBD = 2,      /* a character typed; its code as a signed 8-bit value (below) */
    MORLU_PERIODIC = 3, /* an animation tick */
    MORLU_QUIT = 4
};

/* Animation modes for canvas_set_animation. */
enum {
    ANIMATE_HALT = 0, /* no more ticks */
    ANIMATE_STEP = 1, /* one tick, then as before */
    ANIMATE_RUN = 2,  /* a tick whenever nothing else is pending, at most ten a second */
    ANIMATE_QUIT = 5  /* every later wait returns MORLU_QUIT */
};

/* The program's entry, which the program defines: it receives the instance, the
 * previous instance (0), the command line (the arguments main did not take, joined
 * by spaces) and the show state, passes them to canvas_open, and returns the exit
 * status (0). */
int app_main(uintptr_t instance, uintptr_t previous_instance, const char* command_line, int show_state);

/* What main does: reads the options (--tape FILE, --screen WxH, --help,
 * --version), starts the desktop or the headless backend, calls `entry` and
 * returns the status to exit with. The morlu_main library's main is
 * `return morlu_main(argc, argv, app_main);`; a program with a main of its own
 * calls it the same way. */
typedef int (*MorluEntry)(uintptr_t instance,
                          uintptr_t previous_instance,
                          const char* command_line,
                          int show_state);
MORLU_API int morlu_main(int argc, char** argv, MorluEntry entry);

/* Open the runtime with what the program's entry received. Always returns 1.
 * The back buffer starts black: call canvas_clear (white inside a black frame)
 * before drawing, or black text on it is invisible. Called outside morlu_main
 * (the program has a main of its own that calls app_main), no window can open:
 * it says so in one line with the fix, the operations that test for an open
 * runtime return 0, and canvas_await_event returns MORLU_QUIT. */
MORLU_API int canvas_open(uintptr_t instance,
                          uintptr_t previous_instance,
                          const char* command_line,
                          int show_state);
/* Release the graphics window's drawing context and close the script file. */
MORLU_API int canvas_close(void);

/* Wait for the next event and return its kind; the mouse position and the typed
 * character of the event are stored in the three variables whatever the kind.
 * Before canvas_open, when nothing can ever arrive, it returns MORLU_QUIT.
 * New frames reach the screen and the user's actions reach the program only
 * here: a program that does not come back within a second of a close,
 * Ctrl+Q or Ctrl+C, or that goes on for a second after MORLU_QUIT, is ended by
 * morlu with one line saying why (status 70 after a close or Ctrl+Q).
 * Keys arrive as characters only, in code page 1252 as a signed 8-bit value:
 * Enter 13, Backspace 8, Tab 9, Escape 27; arrows, function keys and Delete
 * give nothing; characters above 127 arrive negative (é, 233, is -23). Keys
 * typed with Ctrl held give no event: Ctrl with A, H, F, L, R, P, O or Q is a
 * Run menu shortcut. */
MORLU_API int canvas_await_event(int* mouse_x, int* mouse_y, char* key);
/* Returns 0 before canvas_open, else 1; a mode not listed above changes nothing. */
MORLU_API int canvas_set_animation(int mode);
/* Describe every shape drawn in the log console (nonzero) or not (0); switching
 * on also shows the console, made again where it was if the user closed it,
 * with its stored lines. Correction messages are logged either way. Returns 0
 * before canvas_open, else 1. */
MORLU_API int canvas_set_logging(int on);

/* Colours are indices 0..23 into the palette: 0 black, 1 white, 2 red, 3 green,
 * 4 blue, 5 yellow, 6 magenta, 7 cyan, 8 purple, 9 navy blue, 10 dusty plum,
 * 11 ice blue, 12 turquoise, 13 orange, 14 brown, 15 pink, 16 chalk, 17 gold,
 * 18 peach, 19 forest green, 20 sea green, 21 olive, 22 50% gray, 23 20% gray.
 * Any other index draws red and is reported in the log. A width of 0 fills the
 * shape; a larger one outlines it with a pen of that width. Negative radii,
 * widths and point sizes are negated, with a line in the log. */

/* A filled circle covering the 2r + 1 pixels square centred on (x, y). */
MORLU_API int canvas_circle(int color, int x, int y, int radius);
/* A triangle through the three points, filled (width 0) or outlined. */
MORLU_API int canvas_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width);
/* A rectangle between two opposite corners given in any order; both corners'
 * rows and columns are inside it. */
MORLU_API int canvas_rectangle(int color, int x1, int y1, int x2, int y2, int width);
/* A line at least one pixel wide; a one-pixel line leaves out its end point. */
MORLU_API int canvas_line(int color, int x1, int y1, int x2, int y2, int width);
/* Text in the given pixel size (0..127): (x, y) is the lower left corner of the
 * first line; each "\n" starts a new line one line height lower. */
MORLU_API int canvas_text(int color, int x, int y, int ptsize, const char* text);
/* canvas_text with printf-style formatting; returns the number of characters
 * formatted. A result over 1023 characters is drawn cut to 1023. */
MORLU_API int canvas_printf(int color, int x, int y, int ptsize, const char* format, ...) MORLU_PRINTF(5, 6);
/* Fill the whole back buffer white inside a one-pixel black frame. Until the
 * first canvas_clear the back buffer is black. */
MORLU_API int canvas_clear(void);

/* Printf-style: appends one line to the log console and returns the number of
 * characters formatted. A result over 1023 characters is stored cut to 1023. */
MORLU_API int log_printf(const char* format, ...) MORLU_PRINTF(1, 2);

#ifdef __cplusplus
}

/* In C++, an app_main with other arguments is a second function of that name,
 * and the link then finds no app_main. These make it an error at its own line,
 * whose message shows the line below with the fix. */
// clang-format off
int app_main() = delete; /* morlu calls app_main with four arguments; write: int app_main(uintptr_t instance, uintptr_t previous_instance, const char* command_line, int show_state) */
int app_main(int, char**) = delete; /* morlu calls app_main with four arguments; write: int app_main(uintptr_t instance, uintptr_t previous_instance, const char* command_line, int show_state) */
// clang-format on
#endif

#endif /* MORLU_CANVAS_H */
