// The landscape, the sun, the help text and the bugs.
#include "bug_app.h"

// The landscape arrives with the drawing primitives; until then a frame draws nothing.
void draw_scene(int32_t) {
}

void draw_bugs(const BugColumn&,
               const BugColumn&,
               const BugColumn&,
               const BugColumn&,
               int32_t,
               int32_t,
               int32_t,
               int32_t) {
}

void draw_debug_bug(const BugColumn&, const BugColumn&, const BugColumn&, int32_t) {
}
