// One native window of the desktop backend: a GtkWindow whose vertical box holds
// the menu bar (when there is one) above a GtkDrawingArea, the client area.
#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "../desktop/toolkit.h"

namespace morlu::platform::gtk {

// A signal handler we connected, so it can be cut before its widget goes away.
struct Connection {
    gpointer instance = nullptr;
    gulong handler = 0;
};

// A menu item whose check mark the program owns.
struct MenuCheck {
    GtkCheckMenuItem* item = nullptr;
    gulong activate_handler = 0;
    uint32_t command = 0;
    bool checked = false;  // the mark the program last set
};

struct NativeWindow {
    WindowId id = 0;
    DesktopEvents* events = nullptr;
    bool resizable = false;
    bool size_released = false;  // a resizable window's first size no longer pins its minimum
    GtkWidget* window = nullptr;
    GtkWidget* box = nullptr;
    GtkWidget* area = nullptr;
    GtkWidget* menu_bar = nullptr;
    // What the client area shows: our 0x00RRGGBB pixels, shared with the
    // program's thread, and a cairo surface over them (both under shown->lock).
    std::shared_ptr<WindowPixels> shown;
    cairo_surface_t* image = nullptr;
    std::vector<Connection> connections;       // on the window and the drawing area
    std::vector<Connection> menu_connections;  // on the current menu bar and its items
    std::vector<MenuCheck> checks;
};

// Make the hidden window for `plan`, showing `shown`; its handlers report into
// `events`. Returns nullptr when GTK gives no window.
std::unique_ptr<NativeWindow> create_native_window(WindowId id,
                                                   const WindowPlan& plan,
                                                   std::shared_ptr<WindowPixels> shown,
                                                   DesktopEvents& events);

// Cut our handlers and destroy the widgets and the image. Undoes create_native_window.
void destroy_native_window(NativeWindow& w);

// Show or hide; the first show of a resizable window lets the user shrink it.
void show_native_window(NativeWindow& w, bool visible);

// The program copied a frame into `box` of the window's pixels: have GTK repaint that part.
void repaint_pixels(NativeWindow& w, const PixelBox& box);

// Connect `handler` to `signal` of `instance` with `w` as its data, remembering it in `list`.
void connect_signal(NativeWindow& w,
                    std::vector<Connection>& list,
                    gpointer instance,
                    const char* signal,
                    GCallback handler,
                    bool after = false);

// Cut every handler in `list`; the instances must still be alive.
void disconnect_all(std::vector<Connection>& list);

}  // namespace morlu::platform::gtk
