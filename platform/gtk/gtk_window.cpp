#include "gtk_window.h"

#include <algorithm>

#include "gtk_input.h"
#include "gtk_menu.h"

namespace morlu::platform::gtk {
namespace {

// What a client area shows before the program first presents into it.
constexpr uint32_t BLANK = 0x00FFFFFF;

// The image must go before the pixels' memory moves or is freed: cairo may read
// the pixels of a surface it still holds.
void release_image(NativeWindow& w) {
    if (w.image) cairo_surface_destroy(w.image);
    w.image = nullptr;
}

// Point a cairo image at the current pixels, which must have no image yet.
// The caller holds the pixels' lock. cairo reads the memory whenever it paints,
// so the surface shares it: every copy into it is written at once.
void make_image(NativeWindow& w) {
    Surface& pixels = w.shown->pixels;
    const Size size = pixels.size();
    if (size.w <= 0 || size.h <= 0) return;
    // Our rows are w * 4 bytes with no padding, which is cairo's RGB24 stride for any width.
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, size.w);
    w.image = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels.shared_pixels()),
                                                  CAIRO_FORMAT_RGB24, size.w, size.h, stride);
}

gboolean on_draw(GtkWidget*, cairo_t* cr, gpointer data) {
    const auto* w = static_cast<NativeWindow*>(data);
    const std::lock_guard hold(w->shown->lock);
    if (!w->image) return TRUE;
    cairo_set_source_surface(cr, w->image, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    return TRUE;
}

// The largest client area the display can show: the box around all its monitors.
Size display_extent(GtkWidget* widget) {
    GdkDisplay* display = gtk_widget_get_display(widget);
    GdkRectangle all{};
    for (int i = 0, n = gdk_display_get_n_monitors(display); i < n; ++i) {
        GdkRectangle one{};
        gdk_monitor_get_geometry(gdk_display_get_monitor(display, i), &one);
        gdk_rectangle_union(&all, &one, &all);
    }
    return {all.x + all.width, all.y + all.height};
}

// The client area got a size: keep our copy that size, and tell the program when
// the user resized the window. Another program may size the window far beyond
// the screen (20000 x 20000); what no monitor can show is not kept in memory.
void on_area_allocate(GtkWidget* area, GdkRectangle* allocation, gpointer data) {
    auto* w = static_cast<NativeWindow*>(data);
    const Size extent = display_extent(area);
    const Size size{std::min(allocation->width, extent.w), std::min(allocation->height, extent.h)};
    {
        const std::lock_guard hold(w->shown->lock);
        if (size == w->shown->pixels.size()) return;
        release_image(*w);
        w->shown->pixels.resize(size, BLANK);
        make_image(*w);
    }
    if (!w->resizable) return;
    NativeEvent e;
    e.kind = NativeEvent::Kind::resized;
    e.window = w->id;
    e.size = size;
    w->events->report(e);
}

GtkWidget* make_area(NativeWindow& w, Size client) {
    GtkWidget* area = gtk_drawing_area_new();
    gtk_widget_set_size_request(area, client.w, client.h);
    // A fixed client area keeps its size even when the menu bar is wider than it.
    const GtkAlign align = w.resizable ? GTK_ALIGN_FILL : GTK_ALIGN_START;
    gtk_widget_set_halign(area, align);
    gtk_widget_set_valign(area, align);
    gtk_widget_add_events(area, GDK_BUTTON_PRESS_MASK);
    connect_signal(w, w.connections, area, "draw", G_CALLBACK(on_draw));
    connect_signal(w, w.connections, area, "size-allocate", G_CALLBACK(on_area_allocate));
    return area;
}

void build_widgets(NativeWindow& w, const WindowPlan& plan) {
    GtkWindow* window = GTK_WINDOW(w.window);
    gtk_window_set_title(window, plan.title.c_str());
    gtk_window_set_resizable(window, plan.resizable ? TRUE : FALSE);
    gtk_window_move(window, plan.x, plan.y);
    w.box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    w.area = make_area(w, plan.client);
    gtk_box_pack_end(GTK_BOX(w.box), w.area, TRUE, TRUE, 0);
    gtk_container_add(GTK_CONTAINER(w.window), w.box);
    gtk_widget_show(w.area);
    gtk_widget_show(w.box);
}

}  // namespace

void connect_signal(NativeWindow& w,
                    std::vector<Connection>& list,
                    gpointer instance,
                    const char* signal,
                    GCallback handler,
                    bool after) {
    const GConnectFlags flags = after ? G_CONNECT_AFTER : GConnectFlags(0);
    const gulong id = g_signal_connect_data(instance, signal, handler, &w, nullptr, flags);
    if (id != 0) list.push_back({instance, id});
}

void disconnect_all(std::vector<Connection>& list) {
    for (const Connection& c : list) g_signal_handler_disconnect(c.instance, c.handler);
    list.clear();
}

std::unique_ptr<NativeWindow> create_native_window(WindowId id,
                                                   const WindowPlan& plan,
                                                   std::shared_ptr<WindowPixels> shown,
                                                   DesktopEvents& events) {
    auto w = std::make_unique<NativeWindow>();
    w->id = id;
    w->events = &events;
    w->resizable = plan.resizable;
    w->shown = std::move(shown);
    {
        const std::lock_guard hold(w->shown->lock);
        w->shown->pixels = Surface(plan.client, BLANK);
        make_image(*w);
    }
    w->window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    if (!w->window) return nullptr;
    build_widgets(*w, plan);
    connect_input(*w);
    return w;
}

void destroy_native_window(NativeWindow& w) {
    remove_menu_bar(w);
    disconnect_all(w.connections);
    if (w.window) gtk_widget_destroy(w.window);
    w.window = w.box = w.area = nullptr;
    const std::lock_guard hold(w.shown->lock);
    release_image(w);
}

void show_native_window(NativeWindow& w, bool visible) {
    if (!visible) {
        gtk_widget_hide(w.window);
        return;
    }
    gtk_widget_show(w.window);
    if (w.resizable && !w.size_released) {
        // The window has taken its first size from the client area's request; from
        // now on that request would stop the user from making the window smaller.
        gtk_widget_set_size_request(w.area, 1, 1);
        w.size_released = true;
    }
}

void repaint_pixels(NativeWindow& w, const PixelBox& box) {
    {
        const std::lock_guard hold(w.shown->lock);
        const auto shown = raster::intersect(box, w.shown->pixels.bounds());
        if (!shown || !w.image) return;
        // cairo may keep a copy of the image on the display: the copy is stale now.
        cairo_surface_mark_dirty_rectangle(w.image, shown->x0, shown->y0, shown->x1 - shown->x0,
                                           shown->y1 - shown->y0);
    }
    gtk_widget_queue_draw_area(w.area, box.x0, box.y0, box.x1 - box.x0, box.y1 - box.y0);
}

}  // namespace morlu::platform::gtk
