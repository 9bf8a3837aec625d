#include <algorithm>
#include <cstring>

#include "platform_state.h"

namespace morlu::platform {
namespace {

constexpr uint32_t WHITE = 0x00FFFFFF;

Size client_size_for(const Window& w) {
    int32_t height = w.outer.bottom - w.outer.top;
    if (w.style & WS_CAPTION) height -= CAPTION_HEIGHT;
    if (w.menu != Hmenu::none) height -= MENU_BAR_HEIGHT;
    return {std::max(w.outer.right - w.outer.left, 0), std::max(height, 0)};
}

WindowPlan window_plan_for(const Window& w) {
    return {w.title, w.outer.left, w.outer.top, w.pixels.size(), (w.style & WS_THICKFRAME) != 0};
}

void send_size(Window& w) {
    const Size s = w.pixels.size();
    send_message(w.handle, WM_SIZE, 0, make_lparam(s.w, s.h));
}

void make_native(Window& w) {
    Backend* backend = platform_state.backend;
    if (!backend || !backend->create_window(raw(w.handle), window_plan_for(w))) return;
    w.native = true;
    push_menu_bar(w);
}

}  // namespace

int register_class(const WndClass& cls) {
    if (!cls.class_name || !cls.proc) return fail(0, "register_class: a class needs a name and a procedure");
    if (platform_state.classes.contains(cls.class_name)) return fail(0, "register_class: the name is taken");
    platform_state.classes[cls.class_name] = {cls.class_name, cls.style, cls.proc, cls.background};
    return 1;
}

void update_client_size(Window& w) {
    const Size next = client_size_for(w);
    if (next == w.pixels.size()) return;
    w.pixels.resize(next, WHITE);
    w.damage = w.pixels.bounds();
    if (w.created) send_size(w);
}

Hwnd create_window(uint32_t,
                   const char* class_name,
                   const char* title,
                   uint32_t style,
                   int32_t x,
                   int32_t y,
                   int32_t w,
                   int32_t h,
                   Hwnd,
                   Hmenu menu,
                   Hinstance,
                   void*) {
    // Windows exist only on a backend: without one nothing could show them or
    // ever deliver their input.
    if (!platform_state.backend) return fail(Hwnd::none, "create_window: the platform is not started");
    const auto cls = platform_state.classes.find(class_name ? class_name : "");
    if (cls == platform_state.classes.end()) return fail(Hwnd::none, "create_window: no such class");
    const Hwnd handle{platform_state.next_window++};
    Window& window = platform_state.windows[raw(handle)];
    window.handle = handle;
    window.cls = &cls->second;
    window.title = title ? title : "";
    window.style = style;
    window.outer = {x, y, static_cast<int32_t>(int64_t{x} + std::max(w, 0)),
                    static_cast<int32_t>(int64_t{y} + std::max(h, 0))};
    window.menu = menu;
    window.pixels = Surface(client_size_for(window), WHITE);
    if (send_message(handle, WM_CREATE, 0, 0) == -1) {
        destroy_window(handle);
        return fail(Hwnd::none, "create_window: WM_CREATE refused");
    }
    Window* made = find_window_record(handle);
    if (!made) return fail(Hwnd::none, "create_window: destroyed during creation");
    made->created = true;
    update_client_size(*made);
    make_native(*made);
    send_size(*made);
    return handle;
}

int destroy_window(Hwnd hwnd) {
    Window* w = find_window_record(hwnd);
    if (!w) return fail(0, "destroy_window: no such window");
    send_message(hwnd, WM_DESTROY, 0, 0);
    drop_window_timers(hwnd);
    w = find_window_record(hwnd);  // the procedure may have destroyed it already
    if (!w) return 1;
    if (w->native && platform_state.backend) platform_state.backend->destroy_window(raw(hwnd));
    platform_state.windows.erase(raw(hwnd));
    return 1;
}

int is_window(Hwnd hwnd) {
    return find_window_record(hwnd) ? 1 : 0;
}

int show_window(Hwnd hwnd, int cmd) {
    Window* w = find_window_record(hwnd);
    if (!w) return fail(0, "show_window: no such window");
    const int was_visible = w->visible ? 1 : 0;
    const bool visible = cmd != SW_HIDE;
    if (visible && !w->visible) w->needs_paint = w->needs_erase = true;
    w->visible = visible;
    if (w->native) platform_state.backend->show_window(raw(hwnd), visible);
    return was_visible;
}

int is_window_visible(Hwnd hwnd) {
    const Window* w = find_window_record(hwnd);
    return w && w->visible ? 1 : 0;
}

LResult def_window_proc(Hwnd hwnd, uint32_t message, WParam wparam, LParam) {
    switch (message) {
        case WM_CLOSE:
            destroy_window(hwnd);
            return 0;
        case WM_PAINT: {
            PaintStruct ps;
            begin_paint(hwnd, &ps);
            end_paint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND: {
            const Window* w = find_window_record(hwnd);
            const Hdc hdc{static_cast<uint32_t>(wparam)};
            if (!w || w->cls->background == Hgdiobj::none) return 0;
            const Hgdiobj old_brush = select_object(hdc, w->cls->background);
            const Hgdiobj old_pen = select_object(hdc, get_stock_object(NULL_PEN));
            rectangle(hdc, 0, 0, w->pixels.size().w + 1, w->pixels.size().h + 1);
            select_object(hdc, old_pen);
            select_object(hdc, old_brush);
            return 1;
        }
        default:
            return 0;
    }
}

LResult send_message(Hwnd hwnd, uint32_t message, WParam wparam, LParam lparam) {
    const Window* w = find_window_record(hwnd);
    if (!w) return fail(LResult{0}, "send_message: no such window");
    return w->cls->proc(hwnd, message, wparam, lparam);
}

int get_client_rect(Hwnd hwnd, RectL* rect) {
    const Window* w = find_window_record(hwnd);
    if (!w || !rect) return fail(0, "get_client_rect: no such window");
    *rect = {0, 0, w->pixels.size().w, w->pixels.size().h};
    return 1;
}

int invalidate_rect(Hwnd hwnd, const RectL*, int erase) {
    Window* w = find_window_record(hwnd);
    if (!w) return fail(0, "invalidate_rect: no such window");
    w->needs_paint = true;
    w->needs_erase = w->needs_erase || erase != 0;
    return 1;
}

Hwnd find_window(const char* class_name, const char* title) {
    for (const auto& [id, w] : platform_state.windows) {
        if (class_name && w.cls->name != class_name) continue;
        if (title && w.title != title) continue;
        return w.handle;
    }
    return Hwnd::none;
}

const Surface* window_surface(Hwnd hwnd) {
    const Window* w = find_window_record(hwnd);
    return w ? &w->pixels : nullptr;
}

}  // namespace morlu::platform
