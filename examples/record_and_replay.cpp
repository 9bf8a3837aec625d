// Record and play back: the runtime can replay what the user did.
//
// Clicks add numbered points to a trail; typing r, g or b changes the colour of
// the next points; typing c starts again (an empty trail, red). Ctrl+R starts
// recording every event the program receives into the file MORLU.SCR, in the
// current folder; Ctrl+R again stops. Ctrl+P plays the file back: the events
// come from the file instead of the user, at once, so the program draws the
// same trail again; Ctrl+O plays one event at a time. Try: Ctrl+R, a few
// clicks and keys, Ctrl+R, c, Ctrl+P.
// The program does not know whether an event was played back or made by the
// user: the same events from the same start give the same picture.
#include <morlu/canvas.h>

#include <cstddef>
#include <vector>

namespace {

struct Point {
    int x = 0;
    int y = 0;
    int color = 0;
};

struct Trail {
    std::vector<Point> points;
    int pen = 2;  // red
};

void type_key(Trail& trail, char key) {
    switch (key) {
        case 'r':
            trail.pen = 2;
            break;
        case 'g':
            trail.pen = 3;
            break;
        case 'b':
            trail.pen = 4;
            break;
        case 'c':
            trail = Trail{};
            break;
        default:
            break;
    }
}

void draw_frame(const Trail& trail) {
    canvas_clear();
    canvas_text(0, -285, 220, 16, "Click to add points; r, g, b: colour; c: start again");
    canvas_text(22, -285, 200, 16, "Ctrl+R records (again to stop), Ctrl+P plays MORLU.SCR back");
    for (std::size_t i = 1; i < trail.points.size(); ++i) {
        const Point& from = trail.points[i - 1];
        const Point& to = trail.points[i];
        canvas_line(22, from.x, from.y, to.x, to.y, 3);
    }
    for (std::size_t i = 0; i < trail.points.size(); ++i) {
        const Point& point = trail.points[i];
        canvas_circle(point.color, point.x, point.y, 10);
        canvas_printf(0, point.x + 12, point.y + 12, 16, "%d", static_cast<int>(i + 1));
    }
}

}  // namespace

int app_main(uintptr_t instance, uintptr_t previous_instance, const char* command_line, int show_state) {
    canvas_open(instance, previous_instance, command_line, show_state);
    canvas_set_logging(0);
    Trail trail;
    draw_frame(trail);
    for (;;) {
        int x = 0, y = 0;
        char key = 0;
        const int event = canvas_await_event(&x, &y, &key);
        if (event == MORLU_QUIT) break;
        if (event == MORLU_MOUSE) trail.points.push_back({x, y, trail.pen});
        if (event == MORLU_KBD) type_key(trail, key);
        draw_frame(trail);
    }
    canvas_close();
    return 0;
}
