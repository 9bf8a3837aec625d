// The desktop session around the program's windows: the display going away under it.
#pragma once

namespace morlu::platform::gtk {

// Once GDK has opened an X display: when the connection to it breaks, print one
// line on stderr saying so and end the process with status 1. Xlib ends the
// process after such a break whatever we do; this makes it say why.
void report_lost_display();

}  // namespace morlu::platform::gtk
