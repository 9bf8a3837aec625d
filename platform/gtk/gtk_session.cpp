#include "gtk_session.h"

#include <gdk/gdkx.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace morlu::platform::gtk {
namespace {

// The line printed when the display goes, made while the display is still there.
char lost_display_line[512] = {};

// Xlib calls this when the connection breaks; it must not return. Xlib's state
// is unknown by then, so only the prepared line is written.
int on_io_error(Display*) {
    const ssize_t written = ::write(STDERR_FILENO, lost_display_line, std::strlen(lost_display_line));
    (void)written;  // nothing more can be done if stderr is gone too
    ::_exit(1);
}

}  // namespace

void report_lost_display() {
    GdkDisplay* display = gdk_display_get_default();
    if (!display || !GDK_IS_X11_DISPLAY(display)) return;
    std::snprintf(lost_display_line, sizeof lost_display_line,
                  "%s: lost the connection to the display %s (the X server ended or closed it)\n",
                  program_invocation_short_name, gdk_display_get_name(display));
    // Without this Xlib ends the process with status 1 and says nothing.
    XSetIOErrorHandler(on_io_error);
}

}  // namespace morlu::platform::gtk
