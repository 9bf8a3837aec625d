// Clicks become events: draw where the user clicks.
//
// Each left click is a MORLU_MOUSE event carrying the click's place in picture
// coordinates (origin at the centre, y upward). The program remembers every
// click as a dot, in the colours of the rainbow in turn, and redraws them all
// after each event. Type c to clear the picture. Each click is also written to
// the log console with log_printf.
#include <morlu/canvas.h>

#include <vector>

namespace {

struct Dot {
    int x = 0;
    int y = 0;
    int color = 0;
};

// Palette indices: red, orange, yellow, green, cyan, blue, purple.
constexpr int RAINBOW[] = {2, 13, 5, 3, 7, 4, 8};
constexpr int RAINBOW_SIZE = sizeof RAINBOW / sizeof RAINBOW[0];
constexpr int DOT_RADIUS = 15;

void draw_frame(const std::vector<Dot>& dots) {
    canvas_clear();
    canvas_text(0, -285, 220, 20, "Click to draw a dot; type c to clear");
    for (const Dot& dot : dots) {
        canvas_circle(dot.color, dot.x, dot.y, DOT_RADIUS);
        canvas_circle(0, dot.x, dot.y, 1);  // the exact pixel that was clicked
    }
    canvas_printf(22, -285, -240, 16, "%d dots", static_cast<int>(dots.size()));
}

}  // namespace

int app_main(uintptr_t instance, uintptr_t previous_instance, const char* command_line, int show_state) {
    canvas_open(instance, previous_instance, command_line, show_state);
    canvas_set_logging(0);  // the log shows our own lines only
    std::vector<Dot> dots;
    draw_frame(dots);
    for (;;) {
        int x = 0, y = 0;
        char key = 0;
        const int event = canvas_await_event(&x, &y, &key);
        if (event == MORLU_QUIT) break;
        if (event == MORLU_MOUSE) {
            const int color = RAINBOW[dots.size() % RAINBOW_SIZE];
            dots.push_back({x, y, color});
            log_printf("dot %d at (%d, %d)", static_cast<int>(dots.size()), x, y);
        } else if (event == MORLU_KBD && key == 'c') {
            dots.clear();
        }
        draw_frame(dots);
    }
    canvas_close();
    return 0;
}
