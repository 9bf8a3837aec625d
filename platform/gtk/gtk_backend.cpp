// The Linux edition's window system: GTK 3, run on the desktop backend's own
// thread. Real top-level windows, a native menu bar, and input reported as the
// user acts, whatever the program is doing meanwhile.
#include "gtk_backend.h"

#include <gtk/gtk.h>

#include "../desktop/native_windows.h"
#include "../desktop/toolkit.h"
#include "gtk_menu.h"
#include "gtk_session.h"
#include "gtk_window.h"

namespace morlu::platform {
namespace {

using gtk::NativeWindow;
using Task = std::function<void()>;

gboolean run_task(gpointer data) {
    (*static_cast<Task*>(data))();
    return G_SOURCE_REMOVE;
}

void free_task(gpointer data) {
    delete static_cast<Task*>(data);
}

class GtkToolkit final : public Toolkit {
public:
    explicit GtkToolkit(DesktopEvents& events) : events_(events) {
    }
    ~GtkToolkit() override {
        for (const auto& w : windows_.take_all()) gtk::destroy_native_window(*w);
    }
    GtkToolkit(const GtkToolkit&) = delete;
    GtkToolkit& operator=(const GtkToolkit&) = delete;

    bool create_window(WindowId id, const WindowPlan& plan, std::shared_ptr<WindowPixels> pixels) override {
        return windows_.create(
            id, [&] { return gtk::create_native_window(id, plan, std::move(pixels), events_); });
    }

    void destroy_window(WindowId id) override {
        if (const auto w = windows_.take(id)) gtk::destroy_native_window(*w);
    }

    void show_window(WindowId id, bool visible) override {
        if (NativeWindow* w = windows_.find(id)) gtk::show_native_window(*w, visible);
    }

    void repaint(WindowId id, const PixelBox& box) override {
        if (NativeWindow* w = windows_.find(id)) gtk::repaint_pixels(*w, box);
    }

    void set_menu_bar(WindowId id, const MenuBar& bar) override {
        if (NativeWindow* w = windows_.find(id)) gtk::install_menu_bar(*w, bar);
    }

    void set_menu_check(WindowId id, uint32_t command, bool checked) override {
        if (NativeWindow* w = windows_.find(id)) gtk::set_check(*w, command, checked);
    }

    Size screen_size() override {
        GdkDisplay* display = gdk_display_get_default();
        GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
        if (!monitor) monitor = gdk_display_get_monitor(display, 0);
        if (!monitor) return {};
        GdkRectangle geometry{};
        gdk_monitor_get_geometry(monitor, &geometry);
        return {geometry.width, geometry.height};
    }

    void run_loop() override {
        while (running_) g_main_context_iteration(nullptr, TRUE);
    }

    void stop_loop() override {
        running_ = false;
    }

    // GLib runs sources of one priority in the order they were added.
    void post(Task task) override {
        g_main_context_invoke_full(nullptr, G_PRIORITY_DEFAULT, run_task, new Task(std::move(task)),
                                   free_task);
    }

private:
    DesktopEvents& events_;
    NativeWindows<NativeWindow> windows_;
    bool running_ = true;
};

std::unique_ptr<Toolkit> make_gtk_toolkit(DesktopEvents& events, std::string& error) {
    // Client areas are measured in screen pixels (601 x 501 on any screen); GTK would
    // double every window on a high-density screen.
    g_setenv("GDK_SCALE", "1", TRUE);
    if (!gtk_init_check(nullptr, nullptr)) {
        error = "cannot open a display: run it in a desktop session, or with --tape FILE";
        return nullptr;
    }
    gtk::report_lost_display();
    return std::make_unique<GtkToolkit>(events);
}

}  // namespace

std::unique_ptr<Backend> make_gtk_backend(std::string& error) {
    return make_desktop_backend(make_gtk_toolkit, error);
}

}  // namespace morlu::platform
