/* A loop that draws for ever and never calls canvas_await_event. */
#include <morlu/canvas.h>

int app_main(uintptr_t instance, uintptr_t previous, const char* command_line, int show) {
    int x = 0;
    canvas_open(instance, previous, command_line, show);
    canvas_clear();
    for (;;) {
        canvas_circle(4, x % 300, 50, 10);
        x++;
    }
    return 0;
}
