/* Week 3: click to draw.
 *
 * A student's version with a misspelt name: it does not compile.
 *
 * Each click draws a filled square, 30 pixels a side, centred on the clicked
 * point, in the next colour of a short cycle; typing c clears the picture.
 * Each click and each clear is written to the log.
 */
#include <morlu/canvas.h>

#define MAX_SQUARES 100
#define HALF 15

static const int COLOURS[] = {2, 4, 3, 13};

static int xs[MAX_SQUARES], ys[MAX_SQUARES];
static int count = 0;

static void draw(void) {
    canvas_clear();
    canvas_text(0, -290, 230, 18, "Click to draw; c clears");
    for (int i = 0; i < cuont; ++i)
        canvas_rectangle(COLOURS[i % 4], xs[i] - HALF, ys[i] + HALF, xs[i] + HALF, ys[i] - HALF, 0);
}

int app_main(uintptr_t instance, uintptr_t previous_instance, const char* command_line, int show_state) {
    canvas_open(instance, previous_instance, command_line, show_state);
    canvas_set_logging(0);
    draw();
    for (;;) {
        int x = 0, y = 0;
        char key = 0;
        const int event = canvas_await_event(&x, &y, &key);
        if (event == MORLU_QUIT) break;
        if (event == MORLU_MOUSE && count < MAX_SQUARES) {
            xs[count] = x;
            ys[count] = y;
            ++count;
            log_printf("square %d at (%d, %d)", count, x, y);
        } else if (event == MORLU_KBD && key == 'c') {
            count = 0;
            log_printf("cleared");
        }
        draw();
    }
    canvas_close();
    return 0;
}
