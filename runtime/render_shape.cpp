// The renderer: one shape record becomes drawing operations on the back buffer,
// with a pen and brush made for it and released before it returns.
#include <algorithm>
#include <string_view>

#include "runtime_state.h"

using namespace morlu::platform;

namespace {

// Logical to back-buffer pixels, computed in 64 bits. A point beyond the
// buffer by more than the 32-bit range saturates at its limits, which keeps
// boxes exact and is far outside every pixel the buffer has.
int32_t device_x(int64_t x) {
    return static_cast<int32_t>(std::clamp<int64_t>(runtime.window.origin_x + x, INT32_MIN, INT32_MAX));
}
int32_t device_y(int64_t y) {
    return static_cast<int32_t>(std::clamp<int64_t>(runtime.window.origin_y - y, INT32_MIN, INT32_MAX));
}

void draw_outlined(const ShapeRecord& r, Hdc dc) {
    switch (r.kind) {
        case SHAPE_TRIANGLE: {
            const PointL pts[3] = {{device_x(r.x1), device_y(r.y1)},
                                   {device_x(r.x2), device_y(r.y2)},
                                   {device_x(r.x3), device_y(r.y3)}};
            polygon(dc, pts, 3);
            break;
        }
        // The platform leaves out the right column and bottom row: +1 keeps both corners inside.
        case SHAPE_RECTANGLE:
            rectangle(dc, device_x(r.x1), device_y(r.y1), device_x(int64_t{r.x2} + 1),
                      device_y(int64_t{r.y2} - 1));
            break;
        case SHAPE_ELLIPSE:
            ellipse(dc, device_x(r.x1), device_y(r.y1), device_x(int64_t{r.x2} + 1),
                    device_y(int64_t{r.y2} - 1));
            break;
        default:
            break;
    }
}

// Triangles, rectangles and ellipses: filled (width 0) in the colour and
// outlined with a one-pixel pen of it, or outlined only with a hollow brush.
void render_area(const ShapeRecord& r, Hdc dc, ColorRef color) {
    const Hgdiobj pen = create_pen(PS_SOLID, r.width, color);
    const Hgdiobj brush = r.width == 0 ? create_solid_brush(color) : get_stock_object(NULL_BRUSH);
    const Hgdiobj old_pen = select_object(dc, pen);
    const Hgdiobj old_brush = select_object(dc, brush);
    draw_outlined(r, dc);
    select_object(dc, old_pen);
    select_object(dc, old_brush);
    delete_object(pen);
    if (r.width == 0) delete_object(brush);
}

void render_line(const ShapeRecord& r, Hdc dc, ColorRef color) {
    const Hgdiobj pen = create_pen(PS_SOLID, r.width, color);
    const Hgdiobj old_pen = select_object(dc, pen);
    move_to(dc, device_x(r.x1), device_y(r.y1), nullptr);
    line_to(dc, device_x(r.x2), device_y(r.y2));
    select_object(dc, old_pen);
    delete_object(pen);
}

// Lines split at "\n": the first lies just above the anchor row, each next one
// a cell height lower; the line breaks themselves are never drawn.
void render_text(const ShapeRecord& r, Hdc dc, ColorRef color) {
    set_text_color(dc, color);
    const int old_mode = get_bk_mode(dc);
    set_bk_mode(dc, TRANSPARENT);
    const Hgdiobj font = create_font(-r.ptsize, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "MORLU-font");
    const Hgdiobj old_font = select_object(dc, font);
    const std::string_view text = r.text;
    SizeL extent;
    get_text_extent(dc, text.data(), static_cast<int32_t>(text.size()), &extent);
    const int64_t line_height = extent.cy;
    size_t start = 0;
    for (int64_t k = 0;; ++k) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const int64_t top = int64_t{runtime.window.origin_y} - r.y1 + (k - 1) * line_height;
        text_out(dc, device_x(r.x1), static_cast<int32_t>(std::clamp<int64_t>(top, INT32_MIN, INT32_MAX)),
                 text.data() + start, static_cast<int32_t>(end - start));
        if (end >= text.size()) break;
        start = end + 1;
    }
    set_bk_mode(dc, old_mode);
    select_object(dc, old_font);
    delete_object(font);
}

}  // namespace

void render_shape(const ShapeRecord& r) {
    const Hdc dc = runtime.window.buffer_dc;
    const ColorRef color = palette[r.color].value;
    switch (r.kind) {
        case SHAPE_TRIANGLE:
        case SHAPE_RECTANGLE:
        case SHAPE_ELLIPSE:
            render_area(r, dc, color);
            break;
        case SHAPE_LINE:
            render_line(r, dc, color);
            break;
        case SHAPE_TEXT:
            render_text(r, dc, color);
            break;
        default:
            break;
    }
    runtime.window.dirty = 1;
}
