// Bug motion on each animation tick, and the debug view's fall.
#include "bug_app.h"

// Motion arrives with the bug commands; until then the bugs stand still.
void move_bugs(BugColumn&,
               BugColumn&,
               BugColumn&,
               const BugColumn&,
               const BugColumn&,
               const BugColumn&,
               int32_t,
               int32_t,
               const BugColumn&,
               int32_t) {
}

void debug_fall(BugColumn&, BugColumn&, int32_t, int32_t&) {
}
