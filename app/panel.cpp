// The control panel: thirteen button boxes down the left edge of the picture.
#include "bug_app.h"

// The panel arrives with the bug commands; until then no click lands on it.
void panel_draw() {
}

int panel_hit(int32_t, int32_t) {
    return 0;
}

void panel_command(int32_t,
                   int32_t,
                   BugColumn&,
                   BugColumn&,
                   BugColumn&,
                   BugColumn&,
                   int32_t&,
                   BugColumn&,
                   int32_t&,
                   int32_t&,
                   int32_t&) {
}
