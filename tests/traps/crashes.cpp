// Crashes as the command line names them: null, divide, throw, recurse. Each
// comes after a click, so a tape run has logged a line first.
#include <morlu/canvas.h>

#include <cstring>
#include <stdexcept>

namespace {

volatile int zero = 0;
volatile int depth_limit = 1 << 30;  // never reached: the stack runs out first
int* volatile nowhere = nullptr;

int deeper(int n) {
    volatile char room[1024];
    room[0] = static_cast<char>(n);
    return n < depth_limit ? deeper(n + 1) + room[0] : 0;
}

void crash(const char* how) {
    if (std::strcmp(how, "null") == 0) *nowhere = 1;
    if (std::strcmp(how, "divide") == 0) canvas_circle(4, 100 / zero, 0, 10);
    if (std::strcmp(how, "throw") == 0) throw std::out_of_range("no bug number 7");
    if (std::strcmp(how, "recurse") == 0) canvas_circle(4, deeper(0), 0, 10);
}

}  // namespace

int app_main(uintptr_t instance, uintptr_t previous, const char* command_line, int show) {
    int x = 0, y = 0;
    char key = 0;
    canvas_open(instance, previous, command_line, show);
    canvas_set_logging(1);
    while (canvas_await_event(&x, &y, &key) != MORLU_QUIT)
        if (x >= 0) crash(command_line);
    canvas_close();
    return 0;
}
