/* A main of the program's own, as if morlu were an ordinary library. */
#include <morlu/canvas.h>

int app_main(uintptr_t instance, uintptr_t previous, const char* command_line, int show) {
    (void)instance, (void)previous, (void)command_line, (void)show;
    return 0;
}

int main(void) {
    canvas_open(0, 0, "", 1);
    canvas_clear();
    canvas_close();
    return 0;
}
