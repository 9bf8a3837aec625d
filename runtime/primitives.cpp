// The drawing primitives: each corrects and reports bad arguments, describes its
// shape in the log while logging is on, and hands a record to the renderer.
#include <algorithm>
#include <cstdarg>

#include "runtime_state.h"

using namespace morlu::platform;

namespace {

const char* name_of(int color) {
    return palette[color].name;
}

// The magnitude of a negative value; INT_MIN, which has none, becomes INT_MAX.
int32_t negated(int32_t v) {
    return v == INT32_MIN ? INT32_MAX : -v;
}

int32_t corrected_width(int32_t width) {
    if (width >= 0) return width;
    log_printf("Width of %d not possible, using width %d\n", width, negated(width));
    return negated(width);
}

int32_t corrected_ptsize(int32_t ptsize) {
    if (ptsize < 0) {
        log_printf("ptsize of %d not possible, using ptsize %d\n", ptsize, negated(ptsize));
        ptsize = negated(ptsize);
    }
    if (ptsize > MAX_PTSIZE) {
        log_printf("ptsize of %d not possible, using ptsize %d\n", ptsize, MAX_PTSIZE);
        ptsize = MAX_PTSIZE;
    }
    return ptsize;
}

// x + d without overflow: the result saturates at the int32 limits.
int32_t offset(int32_t x, int64_t d) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{x} + d, INT32_MIN, INT32_MAX));
}

}  // namespace

int canvas_circle(int color, int x, int y, int radius) {
    note_drawing_call("canvas_circle");
    color = check_color(color);
    if (radius < 0) {
        log_printf("Radius of %d not possible, using radius %d\n", radius, negated(radius));
        radius = negated(radius);
    }
    if (runtime.log.logging) log_printf("%s circle at (%d,%d), radius %d\n", name_of(color), x, y, radius);
    ShapeRecord r;
    r.kind = SHAPE_ELLIPSE;
    r.color = color;
    r.x1 = offset(x, -int64_t{radius});
    r.y1 = offset(y, radius);
    r.x2 = offset(x, radius);
    r.y2 = offset(y, -int64_t{radius});
    render_shape(r);
    return 1;
}

int canvas_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width) {
    note_drawing_call("canvas_triangle");
    color = check_color(color);
    width = corrected_width(width);
    if (runtime.log.logging)
        log_printf("%s triangle at (%d,%d), (%d,%d), (%d,%d)\n", name_of(color), x1, y1, x2, y2, x3, y3);
    ShapeRecord r;
    r.kind = SHAPE_TRIANGLE;
    r.color = color;
    r.width = width;
    r.x1 = x1, r.y1 = y1, r.x2 = x2, r.y2 = y2, r.x3 = x3, r.y3 = y3;
    render_shape(r);
    return 1;
}

int canvas_rectangle(int color, int x1, int y1, int x2, int y2, int width) {
    note_drawing_call("canvas_rectangle");
    const int left = std::min(x1, x2), right = std::max(x1, x2);
    const int top = std::max(y1, y2), bottom = std::min(y1, y2);
    color = check_color(color);
    width = corrected_width(width);
    if (runtime.log.logging && width == 0)
        log_printf("%s rectangle with bounding box (%d,%d) to (%d,%d), filled\n", name_of(color), left, top,
                   right, bottom);
    else if (runtime.log.logging)
        log_printf("%s rectangle with bounding box (%d,%d) to (%d,%d) with line width %d\n", name_of(color),
                   left, top, right, bottom, width);
    ShapeRecord r;
    r.kind = SHAPE_RECTANGLE;
    r.color = color;
    r.width = width;
    r.x1 = left, r.y1 = top, r.x2 = right, r.y2 = bottom;
    render_shape(r);
    return 1;
}

int canvas_line(int color, int x1, int y1, int x2, int y2, int width) {
    note_drawing_call("canvas_line");
    width = corrected_width(width);
    color = check_color(color);
    if (runtime.log.logging)
        log_printf("%s line from (%d,%d) to (%d,%d), width %d\n", name_of(color), x1, y1, x2, y2, width);
    ShapeRecord r;
    r.kind = SHAPE_LINE;
    r.color = color;
    r.width = std::max(width, 1);
    r.x1 = x1, r.y1 = y1, r.x2 = x2, r.y2 = y2;
    render_shape(r);
    return 1;
}

int canvas_text(int color, int x, int y, int ptsize, const char* text) {
    note_drawing_call("canvas_text");
    ptsize = corrected_ptsize(ptsize);
    color = check_color(color);
    if (!text) text = "";
    if (runtime.log.logging) log_printf("%s text at (%d,%d), \"%s\"\n", name_of(color), x, y, text);
    ShapeRecord r;
    r.kind = SHAPE_TEXT;
    r.color = color;
    r.x1 = x, r.y1 = y;
    r.ptsize = ptsize;
    r.text = text;  // the record's own copy, released when it goes
    render_shape(r);
    return 1;
}

int canvas_printf(int color, int x, int y, int ptsize, const char* format, ...) {
    note_drawing_call("canvas_printf");
    char buffer[PRINTF_BUFFER];
    va_list args;
    va_start(args, format);
    const int count = format_into(buffer, sizeof buffer, format, args);
    va_end(args);
    canvas_text(color, x, y, ptsize, buffer);
    return count;
}

int canvas_clear() {
    note_drawing_call("canvas_clear");
    const Hdc dc = runtime.window.buffer_dc;
    if (runtime.log.logging) log_printf("Clearing the graphics window\n");
    // The buffer's own pen, always its default one-pixel black pen, draws the frame.
    const Hgdiobj white = create_solid_brush(palette[1].value);
    const Hgdiobj old_brush = select_object(dc, white);
    rectangle(dc, 0, 0, BUFFER_WIDTH, BUFFER_HEIGHT);
    select_object(dc, old_brush);
    delete_object(white);
    runtime.window.dirty = 1;
    return 1;
}
