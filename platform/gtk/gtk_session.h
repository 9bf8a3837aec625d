// The desktop session around the program's windows: the signals that ask a
// program to end, and the display going away under it.
#pragma once

#include <glib.h>

#include <functional>
#include <vector>

namespace morlu::platform::gtk {

// While it lives, SIGTERM, SIGINT and SIGHUP no longer kill the process: each
// calls `on_quit` from the main loop, so the program can end in order.
class QuitSignals {
public:
    explicit QuitSignals(std::function<void()> on_quit);
    ~QuitSignals();
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

private:
    static gboolean on_signal(gpointer self);
    std::function<void()> on_quit_;
    std::vector<guint> sources_;
};

// Once GDK has opened an X display: when the connection to it breaks, print one
// line on stderr saying so and end the process with status 1. Xlib ends the
// process after such a break whatever we do; this makes it say why.
void report_lost_display();

}  // namespace morlu::platform::gtk
