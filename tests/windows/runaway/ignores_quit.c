/* A beginner's program that waits but goes on after MORLU_QUIT: it acts on
 * clicks only. morlu must end it after the quit, windows and tape runs alike. */
#include <morlu/canvas.h>

int app_main(uintptr_t instance, uintptr_t previous, const char* command_line, int show) {
    int x = 0, y = 0;
    char key = 0;
    canvas_open(instance, previous, command_line, show);
    canvas_clear();
    for (;;) {
        if (canvas_await_event(&x, &y, &key) == MORLU_MOUSE) canvas_circle(4, x, y, 10);
    }
    return 0;
}
