// A beginner's calls out of order: a program whose own main never started morlu,
// and drawing before canvas_open or after canvas_close. Each gets one line that
// says what happened and what to do, instead of a window that never comes or a
// shape that is never seen; return values stay as the operations define them.
#include "platform/process/report.h"
#include "runtime_state.h"

namespace {

// One line to the user and the same line in the log, where the console shows
// it (a line logged before canvas_open appears when the console first paints).
void tell(const char* call, const char* what) {
    morlu::platform::report_line("%s: %s\n", call, what);
    log_printf("%s: %s\n", call, what);
}

}  // namespace

void report_not_started() {
    if (runtime.calls.told_not_started) return;
    runtime.calls.told_not_started = 1;
    morlu::platform::report_fatal_line(
        "canvas_open: morlu was not started, so no window can open: this program has a main of its own; "
        "remove it (morlu's main then calls app_main), or end it with "
        "return morlu_main(argc, argv, app_main);\n");
}

void note_drawing_call(const char* call) {
    auto& c = runtime.calls;
    if (c.opened && !c.closed) return;
    if (!c.opened && !c.told_before_open) {
        c.told_before_open = 1;
        tell(call, "called before canvas_open, so nothing was drawn; call canvas_open first");
    } else if (c.closed && !c.told_after_close) {
        c.told_after_close = 1;
        tell(call, "called after canvas_close, so it will never be shown; draw before canvas_close");
    }
}
