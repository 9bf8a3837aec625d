/* Draws before canvas_open and after canvas_close. */
#include <morlu/canvas.h>

int app_main(uintptr_t instance, uintptr_t previous, const char* command_line, int show) {
    canvas_circle(4, 100, 100, 10);
    canvas_circle(4, 120, 100, 10);
    canvas_open(instance, previous, command_line, show);
    canvas_close();
    canvas_circle(4, 140, 100, 10);
    return 0;
}
