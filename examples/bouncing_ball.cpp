// Time becomes events: a ball that moves one step per animation tick.
//
// canvas_set_animation(ANIMATE_RUN) asks the runtime for MORLU_PERIODIC events,
// at most ten a second; the program moves the ball one step on each and
// bounces it off the edges of the picture. The Run menu controls the ticks:
// Halt animation (Ctrl+H) stops them, Advance one frame (Ctrl+F) gives exactly
// one, Animate (Ctrl+A) starts them again. A click puts the ball where the
// user clicked, also while the animation is halted. Grey dots mark where the
// ball was on the last ticks.
#include <morlu/canvas.h>

namespace {

constexpr int RADIUS = 15;
// The ball's centre stays within -X_LIMIT..X_LIMIT and -Y_LIMIT..Y_LIMIT.
constexpr int X_LIMIT = 300 - RADIUS;
constexpr int Y_LIMIT = 250 - RADIUS;
constexpr int TRAIL = 8;  // past places shown

struct Ball {
    int x = 0;
    int y = 0;
    int dx = 25;  // step per tick
    int dy = 15;
    int trail_x[TRAIL] = {};
    int trail_y[TRAIL] = {};
    int trail_length = 0;
};

// Remember the current place, forgetting the oldest when the trail is full.
void remember_place(Ball& ball) {
    for (int i = TRAIL - 1; i > 0; --i) {
        ball.trail_x[i] = ball.trail_x[i - 1];
        ball.trail_y[i] = ball.trail_y[i - 1];
    }
    ball.trail_x[0] = ball.x;
    ball.trail_y[0] = ball.y;
    if (ball.trail_length < TRAIL) ++ball.trail_length;
}

// Move one step along one axis, mirrored back inside -limit..limit.
void step_axis(int& position, int& speed, int limit) {
    position += speed;
    if (position > limit || position < -limit) {
        position = (position > limit ? 2 * limit : -2 * limit) - position;
        speed = -speed;
    }
}

void draw_frame(const Ball& ball, int ticks) {
    canvas_clear();
    canvas_printf(0, -285, 225, 16, "tick %d   Ctrl+H halts, Ctrl+F steps, Ctrl+A runs", ticks);
    for (int i = 0; i < ball.trail_length; ++i) canvas_circle(23, ball.trail_x[i], ball.trail_y[i], 4);
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
            remember_place(ball);
            step_axis(ball.x, ball.dx, X_LIMIT);
            step_axis(ball.y, ball.dy, Y_LIMIT);
        } else if (event == MORLU_MOUSE) {
            ball.x = x;
            ball.y = y;
            ball.trail_length = 0;
        }
        draw_frame(ball, ticks);
    }
    canvas_close();
    return 0;
}
