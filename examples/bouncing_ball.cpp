// Time becomes events: a ball that moves one step per animation tick.
//
// canvas_set_animation(ANIMATE_RUN) asks the runtime for MORLU_PERIODIC events,
// at most ten a second; the program moves the ball one step on each and
// bounces it off the edges of the picture. The Run menu controls the ticks:
// Halt animation (Ctrl+H) stops them, Advance one frame (Ctrl+F) gives exactly
// one, Animate (Ctrl+A) starts them again. A click puts the ball where the
// user clicked, also while the animation is halted.
#include <morlu/canvas.h>

namespace {

constexpr int RADIUS = 15;
constexpr int RIGHT_WALL = 300 - RADIUS;  // the ball's centre stays inside these
constexpr int TOP_WALL = 250 - RADIUS;

struct Ball {
    int x = 0;
    int y = 0;
    int dx = 25;  // step per tick
    int dy = 15;
};

// Move one step along one axis, mirrored back inside -wall..wall at a wall.
void step_axis(int& position, int& speed, int wall) {
    position += speed;
    if (position > wall || position < -wall) {
        position = (position > wall ? 2 * wall : -2 * wall) - position;
        speed = -speed;
    }
}

void draw_frame(const Ball& ball, int ticks) {
    canvas_clear();
    canvas_printf(0, -285, 225, 16, "tick %d   Ctrl+H halts, Ctrl+F steps, Ctrl+A runs", ticks);
    canvas_circle(2, ball.x, ball.y, RADIUS);
    canvas_circle(15, ball.x - 5, ball.y + 5, 4);  // a highlight, so it looks round
}

}  // namespace

int app_main(uintptr_t instance, uintptr_t previous_instance, const char* command_line, int show_state) {
    canvas_open(instance, previous_instance, command_line, show_state);
    canvas_set_logging(0);
    canvas_set_animation(ANIMATE_RUN);
    Ball ball;
    int ticks = 0;
    draw_frame(ball, ticks);
    for (;;) {
        int x = 0, y = 0;
        char key = 0;
        const int event = canvas_await_event(&x, &y, &key);
        if (event == MORLU_QUIT) break;
        if (event == MORLU_PERIODIC) {
            ++ticks;
            step_axis(ball.x, ball.dx, RIGHT_WALL);
            step_axis(ball.y, ball.dy, TOP_WALL);
        } else if (event == MORLU_MOUSE) {
            ball.x = x;
            ball.y = y;
        }
        draw_frame(ball, ticks);
    }
    canvas_close();
    return 0;
}
