#include "gtk_backend.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <climits>
#include <map>

#include "gtk_menu.h"
#include "gtk_session.h"
#include "gtk_window.h"

namespace morlu::platform {
namespace {

using gtk::NativeWindow;

// GTK main loop iteration that blocks until something happens or `ms` pass.
void iterate_with_timeout(Millis ms) {
    const auto bounded = std::clamp<Millis::rep>(ms.count(), 0, UINT_MAX);
    GSource* timer = g_timeout_source_new(static_cast<guint>(bounded));
    g_source_set_callback(
        timer, [](gpointer) { return gboolean(G_SOURCE_REMOVE); }, nullptr, nullptr);
    g_source_attach(timer, nullptr);
    g_main_context_iteration(nullptr, TRUE);
    g_source_destroy(timer);
    g_source_unref(timer);
}

// Real windows on the desktop. The handlers of every window append to one sink,
// which poll_events hands over to the window layer.
class GtkBackend final : public Backend {
public:
    GtkBackend() : start_us_(g_get_monotonic_time()), quit_signals_([this] { close_main_window(); }) {
    }
    ~GtkBackend() override {
        for (auto& [id, w] : windows_) gtk::destroy_native_window(*w);
    }
    GtkBackend(const GtkBackend&) = delete;
    GtkBackend& operator=(const GtkBackend&) = delete;

    bool create_window(WindowId id, const WindowPlan& plan) override {
        if (windows_.contains(id)) return false;
        auto w = gtk::create_native_window(id, plan, sink_);
        if (!w) return false;
        windows_.emplace(id, std::move(w));
        return true;
    }

    void destroy_window(WindowId id) override {
        NativeWindow* w = find(id);
        if (!w) return;
        gtk::destroy_native_window(*w);
        windows_.erase(id);
        // What the user did in a window that is gone can no longer reach anyone.
        std::erase_if(sink_.pending, [id](const NativeEvent& e) { return e.window == id; });
    }

    void show_window(WindowId id, bool visible) override {
        if (NativeWindow* w = find(id)) gtk::show_native_window(*w, visible);
    }

    void present(WindowId id, const Surface& pixels, const PixelBox& box) override {
        if (NativeWindow* w = find(id)) gtk::present_pixels(*w, pixels, box);
    }

    void set_menu_bar(WindowId id, const MenuBar& bar) override {
        if (NativeWindow* w = find(id)) gtk::install_menu_bar(*w, bar);
    }

    void set_menu_check(WindowId id, uint32_t command, bool checked) override {
        if (NativeWindow* w = find(id)) gtk::set_check(*w, command, checked);
    }

    void poll_events(std::vector<NativeEvent>& out) override {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        take_pending(out);
    }

    WaitResult wait_events(Millis deadline) override {
        while (sink_.pending.empty()) {
            // With no deadline nothing but the user can wake us: block without a timer.
            if (deadline == Millis::max()) {
                g_main_context_iteration(nullptr, TRUE);
                continue;
            }
            const Millis at = now();
            if (at >= deadline) return WaitResult::deadline;
            iterate_with_timeout(deadline - at);
        }
        return WaitResult::event;
    }

    Millis now() const override {
        return Millis{(g_get_monotonic_time() - start_us_) / 1000};
    }

    Size screen_size() const override {
        GdkDisplay* display = gdk_display_get_default();
        GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
        if (!monitor) monitor = gdk_display_get_monitor(display, 0);
        if (!monitor) return {};
        GdkRectangle geometry{};
        gdk_monitor_get_geometry(monitor, &geometry);
        return {geometry.width, geometry.height};
    }

private:
    NativeWindow* find(WindowId id) {
        const auto it = windows_.find(id);
        return it == windows_.end() ? nullptr : it->second.get();
    }

    // A signal asking the program to end is answered as the user's close of its
    // main window, the first one it made: the program quits in order and writes
    // what it still holds.
    void close_main_window() {
        if (windows_.empty()) return;
        NativeEvent e;
        e.kind = NativeEvent::Kind::close;
        e.window = windows_.begin()->first;
        sink_.pending.push_back(e);
    }

    void take_pending(std::vector<NativeEvent>& out) {
        out.insert(out.end(), sink_.pending.begin(), sink_.pending.end());
        sink_.pending.clear();
    }

    gint64 start_us_ = 0;
    gtk::EventSink sink_;
    std::map<WindowId, std::unique_ptr<NativeWindow>> windows_;  // by id: the first made comes first
    gtk::QuitSignals quit_signals_;
};

}  // namespace

std::unique_ptr<Backend> make_gtk_backend(std::string& error) {
    // Client areas are measured in screen pixels (601 x 501 on any screen); GTK would
    // double every window on a high-density screen.
    g_setenv("GDK_SCALE", "1", TRUE);
    if (!gtk_init_check(nullptr, nullptr)) {
        error = "cannot open a display: run it in a desktop session, or with --tape FILE";
        return nullptr;
    }
    gtk::report_lost_display();
    return std::make_unique<GtkBackend>();
}

}  // namespace morlu::platform
