// The application's entry and its one main loop: wait for an event, act on it,
// move the sun, redraw the whole picture.
#include "bug_app.h"
#include "morlu/canvas.h"

namespace {

struct BugTable {
    BugColumn bug_x{}, bug_height{}, bug_color{}, bug_size{}, bug_movement{}, bug_speed{}, bug_moving{},
        bug_steps{};
};

// Scene, panel and bugs, with the magnified bug last so it lies on top.
void draw_frame(const BugTable& t,
                int32_t sun_x,
                int32_t selection_mode,
                int32_t selected_bug,
                int32_t debug_active,
                int32_t bug_count) {
    draw_scene(sun_x);
    panel_draw();
    draw_bugs(t.bug_x, t.bug_height, t.bug_size, t.bug_color, selected_bug, selection_mode, debug_active,
              bug_count);
    if (debug_active != 0 && selection_mode != 0)
        draw_debug_bug(t.bug_x, t.bug_height, t.bug_color, selected_bug);
}

}  // namespace

int app_main(uintptr_t instance, uintptr_t previous_instance, const char* command_line, int show_state) {
    canvas_open(instance, previous_instance, command_line, show_state);
    canvas_set_logging(0);
    canvas_clear();
    canvas_set_animation(ANIMATE_RUN);
    BugTable t;
    init_bug_table(t.bug_x, t.bug_height, t.bug_color, t.bug_size, t.bug_movement, t.bug_speed, t.bug_moving,
                   t.bug_steps);
    int32_t sun_x = SUN_START_X, selection_mode = 0, debug_active = 0, bug_count = 1, selected_bug = -1;
    draw_frame(t, sun_x, selection_mode, selected_bug, 0, bug_count);
    int quit = 0;
    while (quit == 0) {
        int event_x = 0, event_y = 0;
        char event_key = 0;
        switch (canvas_await_event(&event_x, &event_y, &event_key)) {
            case MORLU_MOUSE:
                if (panel_hit(event_x, event_y) == 1)
                    panel_command(event_x, event_y, t.bug_moving, t.bug_movement, t.bug_color, t.bug_speed,
                                  selection_mode, t.bug_size, selected_bug, debug_active, bug_count);
                break;
            case MORLU_PERIODIC:
                move_bugs(t.bug_x, t.bug_height, t.bug_steps, t.bug_movement, t.bug_speed, t.bug_size,
                          selected_bug, debug_active, t.bug_moving, bug_count);
                if (debug_active != 0 && selection_mode != 0)
                    debug_fall(t.bug_x, t.bug_height, selected_bug, debug_active);
                break;
            case MORLU_QUIT:
                quit = 1;
                break;
            default:
                break;  // a typed character changes nothing but the sun
        }
        sun_x = advance_sun(sun_x);
        draw_frame(t, sun_x, selection_mode, selected_bug, debug_active, bug_count);
    }
    canvas_close();
    return 0;
}
