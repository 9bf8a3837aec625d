// The public drawing calls over cairo's image backend, anti-aliasing off: the
// library a user would otherwise draw the same frame with. The bug program's
// own drawing code runs unchanged on it, so cairo draws the same shapes at the
// same places as morlu does. Only what a frame needs is drawn; the rest of the
// runtime (windows, events, log) does nothing here.
#include <cairo.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "cairo_canvas.h"
#include "morlu/canvas.h"

namespace {

// The back buffer's size and the origin of logical coordinates, as morlu's.
constexpr int WIDTH = 601, HEIGHT = 540, ORIGIN_X = 300, ORIGIN_Y = 250;

// The 24 palette colours, 0xRRGGBB.
constexpr unsigned PALETTE[24] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00,
                                  0xFF00FF, 0x00FFFF, 0x9900CC, 0x003399, 0x996699, 0x99FFFF,
                                  0x99FFCC, 0xFF6600, 0x996633, 0xFF99CC, 0xFFFF99, 0xCC9933,
                                  0xFF9966, 0x006633, 0x33CC99, 0x999933, 0x808080, 0xCCCCCC};

cairo_surface_t* surface = nullptr;
cairo_t* cr = nullptr;

double dx(int x) {
    return ORIGIN_X + x + 0.5;  // the centre of the pixel, as morlu's pixel rules place it
}
double dy(int y) {
    return ORIGIN_Y - y + 0.5;
}

void set_color(int color) {
    const unsigned c = PALETTE[color >= 0 && color < 24 ? color : 2];
    cairo_set_source_rgb(cr, (c >> 16) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0);
}

// Fill (width 0) or outline the current path. A filled shape is not also
// stroked: filling alone covers what morlu's fill and one-pixel edge cover, and
// is what a cairo program would do.
void finish(int width) {
    if (width == 0) {
        cairo_fill(cr);
        return;
    }
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

}  // namespace

void cairo_canvas_start() {
    surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, WIDTH, HEIGHT);
    cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
}

void cairo_canvas_flush() {
    cairo_surface_flush(surface);
}

void cairo_canvas_stop() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    cr = nullptr;
    surface = nullptr;
}

int canvas_open(uintptr_t, uintptr_t, const char*, int) {
    return 1;
}
int canvas_close(void) {
    return 1;
}
int canvas_await_event(int*, int*, char*) {
    return MORLU_QUIT;
}
int canvas_set_animation(int) {
    return 1;
}
int canvas_set_logging(int) {
    return 1;
}
int log_printf(const char*, ...) {
    return 0;
}

int canvas_circle(int color, int x, int y, int radius) {
    set_color(color);
    cairo_arc(cr, dx(x), dy(y), radius, 0, 6.283185307179586);
    finish(0);
    return 1;
}

int canvas_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width) {
    set_color(color);
    cairo_move_to(cr, dx(x1), dy(y1));
    cairo_line_to(cr, dx(x2), dy(y2));
    cairo_line_to(cr, dx(x3), dy(y3));
    cairo_close_path(cr);
    finish(width);
    return 1;
}

int canvas_rectangle(int color, int x1, int y1, int x2, int y2, int width) {
    set_color(color);
    const int left = x1 < x2 ? x1 : x2, top = y1 > y2 ? y1 : y2;
    const int w = (x1 < x2 ? x2 - x1 : x1 - x2), h = (y1 < y2 ? y2 - y1 : y1 - y2);
    cairo_rectangle(cr, dx(left), dy(top), w, h);
    finish(width);
    return 1;
}

int canvas_line(int color, int x1, int y1, int x2, int y2, int width) {
    set_color(color);
    cairo_set_line_width(cr, width < 1 ? 1 : width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, dx(x1), dy(y1));
    cairo_line_to(cr, dx(x2), dy(y2));
    cairo_stroke(cr);
    return 1;
}

// Lines split at "\n", the first with its baseline just above (x, y).
int canvas_text(int color, int x, int y, int ptsize, const char* text) {
    set_color(color);
    cairo_set_font_size(cr, ptsize);
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    char line[1024];
    double baseline = dy(y) - fe.descent;
    for (const char* p = text; p;) {
        const char* end = std::strchr(p, '\n');
        const size_t n = end ? static_cast<size_t>(end - p) : std::strlen(p);
        std::snprintf(line, sizeof line, "%.*s", static_cast<int>(n), p);
        cairo_move_to(cr, dx(x), baseline);
        cairo_show_text(cr, line);
        baseline += fe.height;
        p = end ? end + 1 : nullptr;
    }
    return 1;
}

int canvas_printf(int color, int x, int y, int ptsize, const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    const int count = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    canvas_text(color, x, y, ptsize, buffer);
    return count;
}

int canvas_clear(void) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    return 1;
}
