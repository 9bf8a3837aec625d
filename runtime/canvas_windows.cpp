// Opening and closing the runtime: the two windows, the back buffer, the tick
// timer, the graphics window's procedure and the origin of logical coordinates.
#include "platform/process/quit_watch.h"
#include "runtime_state.h"

using namespace morlu::platform;

RuntimeState runtime;

void runtime_reset() {
    runtime = RuntimeState{};
}

namespace {

void register_classes(Hinstance instance) {
    // One white brush serves both classes; the platform erases with it.
    const Hgdiobj white = create_solid_brush(rgb(255, 255, 255));
    WndClass cls;
    cls.style = CS_HREDRAW | CS_VREDRAW;
    cls.instance = instance;
    cls.background = white;
    cls.menu_name = "generic";
    cls.proc = graphics_window_proc;
    cls.class_name = GRAPHICS_CLASS;
    register_class(cls);
    cls.proc = text_window_proc;
    cls.class_name = TEXT_CLASS;
    register_class(cls);
}

void create_windows(Hinstance instance) {
    runtime.window.graphics_window =
        create_window(0, GRAPHICS_CLASS, GRAPHICS_TITLE, WS_CAPTION | WS_SYSMENU, 0, 0, BUFFER_WIDTH,
                      BUFFER_HEIGHT, Hwnd::none, Hmenu::none, instance, nullptr);
    create_text_window();
}

void create_back_buffer() {
    auto& w = runtime.window;
    w.window_dc = get_dc(w.graphics_window);
    w.back_buffer = create_compatible_bitmap(w.window_dc, BUFFER_WIDTH, BUFFER_HEIGHT);
    w.buffer_dc = create_compatible_dc(w.window_dc);
    select_object(w.buffer_dc, w.back_buffer);
}

void on_size(Hwnd hwnd) {
    RectL r;
    get_client_rect(hwnd, &r);
    runtime.window.origin_x = r.left + (r.right - r.left) / 2;
    runtime.window.origin_y = r.top + (r.bottom - r.top) / 2;
}

void on_paint(Hwnd hwnd) {
    PaintStruct ps;
    begin_paint(hwnd, &ps);
    bit_blt(runtime.window.window_dc, 0, 0, BUFFER_WIDTH, BUFFER_HEIGHT, runtime.window.buffer_dc, 0, 0,
            SRCCOPY);
    end_paint(hwnd, &ps);
    runtime.window.dirty = 0;
}

void on_destroy(Hwnd hwnd) {
    kill_timer(hwnd, TICK_TIMER_ID);
    post_quit_message(0);
}

}  // namespace

void create_text_window() {
    const int screen_w = get_system_metrics(SM_CXSCREEN);
    const int screen_h = get_system_metrics(SM_CYSCREEN);
    // The bottom third of the screen, from one pixel below the two-thirds line.
    runtime.window.text_window =
        create_window(0, TEXT_CLASS, TEXT_TITLE, WS_OVERLAPPEDWINDOW, 0, (2 * screen_h) / 3 + 1, screen_w,
                      screen_h / 3, Hwnd::none, Hmenu::none, runtime.window.instance, nullptr);
}

int canvas_open(uintptr_t instance, uintptr_t previous_instance, const char*, int show_state) {
    runtime.calls.opened = 1;
    runtime.calls.closed = 0;
    // No backend runs: the program's own main called app_main without morlu_main.
    if (!platform_backend()) {
        report_not_started();
        return 1;
    }
    const Hinstance inst{instance};
    if (previous_instance == 0) register_classes(inst);
    runtime.events.running = 0;
    runtime.events.single_step = 0;
    runtime.window.instance = inst;
    create_windows(inst);
    create_back_buffer();
    show_window(runtime.window.text_window, show_state);
    show_window(runtime.window.graphics_window, show_state);
    set_timer(runtime.window.graphics_window, TICK_TIMER_ID, TICK_PERIOD_MS);
    // The user's quit, as the watch over a program that stops answering sees it.
    quit_watch_set_inputs({static_cast<WindowId>(runtime.window.graphics_window), CMD_QUIT, 'Q'});
    return 1;
}

int canvas_close() {
    runtime.calls.closed = 1;
    release_dc(runtime.window.graphics_window, runtime.window.window_dc);
    script_close();
    return 1;
}

void copy_to_screen() {
    bit_blt(runtime.window.window_dc, 0, 0, BUFFER_WIDTH, BUFFER_HEIGHT, runtime.window.buffer_dc, 0, 0,
            SRCCOPY);
    runtime.window.dirty = 0;
}

LResult graphics_window_proc(Hwnd hwnd, uint32_t message, WParam wparam, LParam lparam) {
    switch (message) {
        case WM_CREATE:
            build_run_menu(hwnd);
            return 0;
        case WM_DESTROY:
            on_destroy(hwnd);
            return 0;
        case WM_SIZE:
            on_size(hwnd);
            return 0;
        case WM_PAINT:
            on_paint(hwnd);
            return 0;
        case WM_TIMER:
            on_timer();
            return 0;
        case WM_LBUTTONDOWN:
            on_left_button_down(lparam);
            return 0;
        case WM_CHAR:
            on_char(wparam);
            return 0;
        case WM_KEYDOWN:
            on_key_down(wparam);
            return 0;
        case WM_KEYUP:
            on_key_up(wparam);
            return 0;
        case WM_COMMAND:
            on_command(wparam);
            return 0;
        default:
            return def_window_proc(hwnd, message, wparam, lparam);
    }
}
