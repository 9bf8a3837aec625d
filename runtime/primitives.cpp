// The drawing primitives: every one draws into the back buffer and marks it dirty.
#include "runtime_state.h"

using namespace morlu::platform;

int canvas_clear() {
    const Hdc dc = runtime.window.buffer_dc;
    if (runtime.log.logging) log_printf("Clearing the graphics window\n");
    // The buffer's own pen, always its default one-pixel black pen, draws the frame.
    const Hgdiobj white = create_solid_brush(rgb(255, 255, 255));
    const Hgdiobj old_brush = select_object(dc, white);
    rectangle(dc, 0, 0, BUFFER_WIDTH, BUFFER_HEIGHT);
    select_object(dc, old_brush);
    delete_object(white);
    runtime.window.dirty = 1;
    return 1;
}
