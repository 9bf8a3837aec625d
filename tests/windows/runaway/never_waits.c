/* A beginner's runaway program: it draws forever and never calls
 * canvas_await_event, so its windows never answer. morlu must still end it
 * when its window is closed, on Ctrl+Q and on Ctrl+C. */
#include <morlu/canvas.h>

int app_main(uintptr_t instance, uintptr_t previous, const char* command_line, int show) {
    int x = 0;
    canvas_open(instance, previous, command_line, show);
    canvas_clear();
    for (;;) {
        canvas_circle(4, x % 300, 0, 10);
        x++;
    }
    return 0;
}
