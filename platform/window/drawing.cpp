#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform_state.h"

namespace morlu::platform {
namespace {

// A context ready to draw: its pixels, its clip box and its selected objects;
// no target when the context or what it draws on is gone. Made in place
// rather than wrapped in an optional, whose copy would cost every shape.
struct Canvas {
    DeviceContext* dc = nullptr;
    Surface* target = nullptr;
    PixelBox clip;
    explicit operator bool() const {
        return target != nullptr;
    }
};

Canvas canvas_of(Hdc hdc) {
    Canvas c;
    c.dc = find_dc(hdc);
    if (c.dc) c.target = dc_target(*c.dc, &c.clip);
    return c;
}

raster::Pen pen_of(const DeviceContext& dc) {
    const GdiObject* o = find_object(dc.pen);
    return o ? o->pen : raster::Pen{true, 1, 0};
}

raster::Brush brush_of(const DeviceContext& dc) {
    const GdiObject* o = find_object(dc.brush);
    return o ? o->brush : raster::Brush{true, 0};
}

const raster::Font* font_of(const DeviceContext& dc) {
    GdiObject* o = find_object(dc.font);
    return o ? object_font(*o) : nullptr;
}

// A length the caller gave with a string: negative or past the end is cut to the string.
std::string_view text_view(const char* text, int32_t length) {
    if (!text || length <= 0) return {};
    const void* nul = std::memchr(text, 0, static_cast<size_t>(length));
    const size_t n =
        nul ? static_cast<size_t>(static_cast<const char*>(nul) - text) : static_cast<size_t>(length);
    return {text, n};
}

}  // namespace

int rectangle(Hdc hdc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const Canvas c = canvas_of(hdc);
    if (!c) return fail(0, "rectangle: no such context");
    raster::draw_rectangle(*c.target, c.clip, {left, top, right, bottom}, pen_of(*c.dc), brush_of(*c.dc));
    dc_damaged(*c.dc, c.clip);
    return 1;
}

int ellipse(Hdc hdc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const Canvas c = canvas_of(hdc);
    if (!c) return fail(0, "ellipse: no such context");
    raster::draw_ellipse(*c.target, c.clip, {left, top, right, bottom}, pen_of(*c.dc), brush_of(*c.dc));
    dc_damaged(*c.dc, c.clip);
    return 1;
}

int polygon(Hdc hdc, const PointL* points, int32_t count) {
    const Canvas c = canvas_of(hdc);
    if (!c || !points || count < 2) return fail(0, "polygon: no such context, or too few points");
    std::vector<raster::Point> pts(static_cast<size_t>(count));
    for (size_t i = 0; i < pts.size(); ++i) pts[i] = {points[i].x, points[i].y};
    raster::draw_polygon(*c.target, c.clip, pts, pen_of(*c.dc), brush_of(*c.dc));
    dc_damaged(*c.dc, c.clip);
    return 1;
}

int move_to(Hdc hdc, int32_t x, int32_t y, PointL* old) {
    DeviceContext* dc = find_dc(hdc);
    if (!dc) return fail(0, "move_to: no such context");
    if (old) *old = dc->position;
    dc->position = {x, y};
    return 1;
}

int line_to(Hdc hdc, int32_t x, int32_t y) {
    const Canvas c = canvas_of(hdc);
    if (!c) return fail(0, "line_to: no such context");
    const PointL from = c.dc->position;
    raster::draw_line(*c.target, c.clip, {from.x, from.y}, {x, y}, pen_of(*c.dc));
    c.dc->position = {x, y};
    dc_damaged(*c.dc, c.clip);
    return 1;
}

// Nothing waits: each drawing call is done when it returns, and every reader
// of a surface gets its pixels written.
int gdi_flush() {
    return 1;
}

int bit_blt(Hdc dst,
            int32_t x,
            int32_t y,
            int32_t w,
            int32_t h,
            Hdc src,
            int32_t sx,
            int32_t sy,
            uint32_t rop) {
    const Canvas to = canvas_of(dst);
    const Canvas from = canvas_of(src);
    if (!to || !from || rop != SRCCOPY) return fail(0, "bit_blt: bad context or operation");
    raster::copy_area(*to.target, to.clip, x, y, *from.target, sx, sy, w, h);
    dc_damaged(*to.dc, to.clip);
    return 1;
}

int scroll_dc(Hdc hdc, int32_t dx, int32_t dy, const RectL*, const RectL*, void*, RectL* update) {
    const Canvas c = canvas_of(hdc);
    if (!c) return fail(0, "scroll_dc: no such context");
    raster::scroll_box(*c.target, c.clip, dx, dy);
    dc_damaged(*c.dc, c.clip);
    if (update) *update = {};
    return 1;
}

int text_out(Hdc hdc, int32_t x, int32_t y, const char* text, int32_t length) {
    const Canvas c = canvas_of(hdc);
    if (!c) return fail(0, "text_out: no such context");
    const raster::Font* font = font_of(*c.dc);
    if (!font) return fail(0, "text_out: no font could be found");
    std::optional<uint32_t> background;
    if (c.dc->bk_mode == OPAQUE) background = to_pixel(c.dc->bk_color);
    raster::draw_text(*c.target, c.clip, *font, x, y, text_view(text, length), to_pixel(c.dc->text_color),
                      background);
    dc_damaged(*c.dc, c.clip);
    return 1;
}

int get_text_extent(Hdc hdc, const char* text, int32_t length, SizeL* size) {
    DeviceContext* dc = find_dc(hdc);
    const raster::Font* font = dc ? font_of(*dc) : nullptr;
    if (!font || !size) return fail(0, "get_text_extent: no such context or font");
    const Size s = raster::text_extent(*font, text_view(text, length));
    *size = {s.w, s.h};
    return 1;
}

int get_text_metrics(Hdc hdc, TextMetrics* metrics) {
    DeviceContext* dc = find_dc(hdc);
    const raster::Font* font = dc ? font_of(*dc) : nullptr;
    if (!font || !metrics) return fail(0, "get_text_metrics: no such context or font");
    const raster::FontMetrics m = raster::font_metrics(*font);
    const GdiObject* o = find_object(dc->font);
    *metrics = {m.height,           m.ascent,
                m.descent,          m.internal_leading,
                m.external_leading, m.ave_char_width,
                m.max_char_width,   o && o->font ? o->font->request.weight : FW_NORMAL};
    return 1;
}

}  // namespace morlu::platform
