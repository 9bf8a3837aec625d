// The log console: a ring of the last 25 lines, drawn at the bottom of the text
// window with the earlier lines scrolled up.
#include <cstdarg>

#include "runtime_state.h"

using namespace morlu::platform;

namespace {

int32_t next_slot(int32_t slot) {
    return slot == LOG_RING_SIZE - 1 ? 0 : slot + 1;
}

void store_line(const char* text) {
    auto& log = runtime.log;
    if (log.log_oldest == log.log_next) {
        // Full: the new line takes the oldest line's slot.
        log.log_lines[static_cast<size_t>(log.log_oldest)].clear();
        log.log_oldest = next_slot(log.log_oldest);
    }
    log.log_lines[static_cast<size_t>(log.log_next)] = text;
    if (log.log_oldest < 0) log.log_oldest = log.log_next;
    log.log_next = next_slot(log.log_next);
}

// Clear the strip the scroll uncovered, with the context's background colour.
void clear_bottom_strip(Hdc hdc, const RectL& client, int32_t line_height) {
    const Hgdiobj brush = create_solid_brush(get_bk_color(hdc));
    const Hgdiobj old_brush = select_object(hdc, brush);
    const Hgdiobj old_pen = select_object(hdc, get_stock_object(NULL_PEN));
    rectangle(hdc, client.left, client.bottom - line_height, client.right, client.bottom + 1);
    select_object(hdc, old_pen);
    select_object(hdc, old_brush);
    delete_object(brush);
}

}  // namespace

int log_printf(const char* format, ...) {
    char buffer[LOG_FORMAT_BUFFER];
    va_list args;
    va_start(args, format);
    const int count = format_into(buffer, sizeof buffer, format, args);
    va_end(args);
    store_line(buffer);
    std::string shown = buffer;
    log_append_line(shown);
    return count;
}

void log_append_line(std::string& text) {
    const Hwnd hwnd = runtime.window.text_window;
    const Hdc hdc = get_dc(hwnd);
    if (hdc == Hdc::none) {
        // The console is closed: the line is stored, but there is nothing to draw on.
        if (!text.empty() && text.back() == '\n') text.pop_back();
        return;
    }
    select_object(hdc, get_stock_object(ANSI_FIXED_FONT));
    TextMetrics tm;
    get_text_metrics(hdc, &tm);
    const int32_t line_height = tm.tm_height + tm.tm_external_leading;
    scroll_dc(hdc, 0, -line_height, nullptr, nullptr, nullptr, nullptr);
    RectL client;
    get_client_rect(hwnd, &client);
    clear_bottom_strip(hdc, client, line_height);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    text_out(hdc, client.left + 5, client.bottom - line_height, text.c_str(),
             static_cast<int32_t>(text.size()));
    release_dc(hwnd, hdc);
}

LResult text_window_proc(Hwnd hwnd, uint32_t message, WParam wparam, LParam lparam) {
    auto& log = runtime.log;
    switch (message) {
        case WM_PAINT: {
            PaintStruct ps;
            begin_paint(hwnd, &ps);
            int32_t n = 0;
            for (int32_t i = log.log_oldest; i >= 0 && (i != log.log_next || n == 0); i = next_slot(i), ++n)
                log_append_line(log.log_lines[static_cast<size_t>(i)]);
            end_paint(hwnd, &ps);
            return 0;
        }
        case WM_KEYDOWN:
        case WM_KEYUP:
            post_message(runtime.window.graphics_window, message, wparam, lparam);
            return 0;
        default:
            return def_window_proc(hwnd, message, wparam, lparam);
    }
}

int canvas_set_logging(int on) {
    if (runtime.window.graphics_window == Hwnd::none) return 0;
    runtime.log.logging = on != 0 ? 1 : 0;
    check_menu_item(runtime.menu.run_menu, CMD_LOGGING, runtime.log.logging ? MF_CHECKED : MF_UNCHECKED);
    if (runtime.log.logging) {
        // A console the user closed is made again where it was; its first paint
        // replays the stored lines.
        if (!is_window(runtime.window.text_window)) create_text_window();
        show_text_window(1);
    }
    return 1;
}

std::vector<std::string> log_stored_lines() {
    const auto& log = runtime.log;
    std::vector<std::string> lines;
    for (int32_t i = log.log_oldest, n = 0; i >= 0 && (i != log.log_next || n == 0); i = next_slot(i), ++n) {
        std::string line = log.log_lines[static_cast<size_t>(i)];
        if (!line.empty() && line.back() == '\n') line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

void show_text_window(int visible) {
    show_window(runtime.window.text_window, visible ? SW_SHOW : SW_HIDE);
}
