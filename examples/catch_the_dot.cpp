// A tiny game: catch the dot before it jumps.
//
// Ticks and clicks together: on every tick the dot shrinks, and after ten
// ticks (one second) it jumps to a new place. Click on it to catch it. The row
// at the bottom keeps the score: a gold circle for each catch, a grey one for
// each miss. Ctrl+H pauses the game, Ctrl+A resumes it. The dots' places come
// from a fixed sequence, so a tape can play the same game every time.
#include <morlu/canvas.h>

namespace {

constexpr int JUMP_TICKS = 10;
constexpr int MAX_SCORE = 28;  // circles in the score row

struct Game {
    unsigned seed = 2024;  // the next place comes from this
    int dot_x = 0;
    int dot_y = 0;
    int age = 0;  // ticks since the dot jumped
    int caught = 0;
    int missed = 0;
    bool results[MAX_SCORE] = {};  // true for a catch, in the order of the clicks
};

int dot_radius(const Game& game) {
    return 30 - 2 * game.age;
}

// Jump to the next place of the sequence, inside x -260..260, y -170..190.
void jump(Game& game) {
    game.seed = game.seed * 1103515245u + 12345u;
    game.dot_x = -260 + static_cast<int>(game.seed >> 16) % 521;
    game.seed = game.seed * 1103515245u + 12345u;
    game.dot_y = -170 + static_cast<int>(game.seed >> 16) % 361;
    game.age = 0;
    log_printf("the dot jumps to (%d, %d)", game.dot_x, game.dot_y);
}

void click(Game& game, int x, int y) {
    const int dx = x - game.dot_x, dy = y - game.dot_y, r = dot_radius(game);
    const bool hit = dx * dx + dy * dy <= r * r;
    if (game.caught + game.missed < MAX_SCORE) game.results[game.caught + game.missed] = hit;
    if (hit) {
        ++game.caught;
        jump(game);
    } else {
        ++game.missed;
    }
}

void draw_frame(const Game& game) {
    canvas_clear();
    canvas_printf(0, -285, 220, 18, "Catch the dot!  caught %d, missed %d", game.caught, game.missed);
    canvas_circle(13, game.dot_x, game.dot_y, dot_radius(game));
    for (int i = 0; i < game.caught + game.missed && i < MAX_SCORE; ++i)
        canvas_circle(game.results[i] ? 17 : 22, -280 + 20 * i, -225, 8);
}

}  // namespace

int app_main(uintptr_t instance, uintptr_t previous_instance, const char* command_line, int show_state) {
    canvas_open(instance, previous_instance, command_line, show_state);
    canvas_set_logging(0);
    canvas_set_animation(ANIMATE_RUN);
    Game game;
    jump(game);
    draw_frame(game);
    for (;;) {
        int x = 0, y = 0;
        char key = 0;
        const int event = canvas_await_event(&x, &y, &key);
        if (event == MORLU_QUIT) break;
        if (event == MORLU_MOUSE) click(game, x, y);
        if (event == MORLU_PERIODIC && ++game.age == JUMP_TICKS) jump(game);
        draw_frame(game);
    }
    canvas_close();
    return 0;
}
