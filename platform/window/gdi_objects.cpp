#include "platform_state.h"

namespace morlu::platform {
namespace {

Hgdiobj add_object(GdiObject object) {
    return Hgdiobj{platform_state.objects.add(std::move(object))};
}

GdiObject pen_object(bool null, int32_t width, ColorRef color) {
    GdiObject o;
    o.kind = GdiObject::Kind::pen;
    o.pen = {null, width, to_pixel(color)};
    return o;
}

GdiObject brush_object(bool null, ColorRef color) {
    GdiObject o;
    o.kind = GdiObject::Kind::brush;
    o.brush = {null, to_pixel(color)};
    return o;
}

GdiObject font_object(const raster::FontRequest& request) {
    GdiObject o;
    o.kind = GdiObject::Kind::font;
    o.font = std::make_shared<FontObject>(FontObject{request, nullptr, false});
    return o;
}

void add_stock(int index, GdiObject object) {
    object.stock = true;
    platform_state.stock[index] = add_object(std::move(object));
}

Hgdiobj* selected_slot(DeviceContext& dc, GdiObject::Kind kind) {
    switch (kind) {
        case GdiObject::Kind::pen:
            return &dc.pen;
        case GdiObject::Kind::brush:
            return &dc.brush;
        case GdiObject::Kind::font:
            return &dc.font;
        case GdiObject::Kind::bitmap:
            return &dc.bitmap;
    }
    return nullptr;
}

void release_selection(Hgdiobj handle) {
    GdiObject* o = find_object(handle);
    if (!o) return;
    --o->selected;
    if (o->deleted && o->selected <= 0) platform_state.objects.remove(raw(handle));
}

}  // namespace

void make_stock_objects() {
    add_stock(WHITE_BRUSH, brush_object(false, rgb(255, 255, 255)));
    add_stock(BLACK_BRUSH, brush_object(false, rgb(0, 0, 0)));
    add_stock(NULL_BRUSH, brush_object(true, 0));
    add_stock(WHITE_PEN, pen_object(false, 1, rgb(255, 255, 255)));
    add_stock(BLACK_PEN, pen_object(false, 1, rgb(0, 0, 0)));
    add_stock(NULL_PEN, pen_object(true, 1, 0));
    // The log console's fixed font: the default monospace face with a 13-pixel cell.
    add_stock(ANSI_FIXED_FONT, font_object({13, FW_NORMAL, false, true, "monospace"}));
    add_stock(SYSTEM_FONT, font_object({16, FW_BOLD, false, false, "sans-serif"}));
    GdiObject bitmap;
    bitmap.kind = GdiObject::Kind::bitmap;
    bitmap.stock = true;
    bitmap.bitmap = std::make_shared<Surface>(Size{1, 1});
    platform_state.default_bitmap = add_object(std::move(bitmap));
}

Hgdiobj get_stock_object(int index) {
    if (index < 0 || index > SYSTEM_FONT) return fail(Hgdiobj::none, "get_stock_object: no such object");
    return platform_state.stock[index];
}

Hgdiobj create_pen(int style, int32_t width, ColorRef color) {
    return add_object(pen_object(style == PS_NULL, width < 0 ? 0 : width, color));
}

Hgdiobj create_solid_brush(ColorRef color) {
    return add_object(brush_object(false, color));
}

Hgdiobj create_font(int32_t height,
                    int32_t,
                    int32_t,
                    int32_t,
                    int32_t weight,
                    uint32_t italic,
                    uint32_t,
                    uint32_t,
                    uint32_t,
                    uint32_t,
                    uint32_t,
                    uint32_t,
                    uint32_t,
                    const char* face) {
    return add_object(
        font_object({height, weight == 0 ? FW_NORMAL : weight, italic != 0, false, face ? face : ""}));
}

Hgdiobj create_compatible_bitmap(Hdc hdc, int32_t w, int32_t h) {
    if (!find_dc(hdc)) return fail(Hgdiobj::none, "create_compatible_bitmap: no such context");
    // Keep a runaway size from taking all memory: the platform refuses such bitmaps too.
    if (w <= 0 || h <= 0 || int64_t{w} * h > (int64_t{1} << 26))
        return fail(Hgdiobj::none, "create_compatible_bitmap: bad size");
    GdiObject o;
    o.kind = GdiObject::Kind::bitmap;
    o.bitmap = std::make_shared<Surface>(Size{w, h}, 0);
    return add_object(std::move(o));
}

const raster::Font* object_font(GdiObject& object) {
    FontObject* f = object.font.get();
    if (!f) return nullptr;
    if (!f->resolved) {
        f->font = raster::open_font(f->request);
        f->resolved = true;
    }
    return f->font.get();
}

Hgdiobj select_object(Hdc hdc, Hgdiobj handle) {
    DeviceContext* dc = find_dc(hdc);
    GdiObject* o = find_object(handle);
    if (!dc || !o || o->deleted) return fail(Hgdiobj::none, "select_object: no such context or object");
    // A bitmap lives in one memory context at a time, and never in a window's.
    if (o->kind == GdiObject::Kind::bitmap && (dc->window != Hwnd::none || (o->selected > 0 && !o->stock)))
        return fail(Hgdiobj::none, "select_object: the bitmap cannot go into this context");
    Hgdiobj* slot = selected_slot(*dc, o->kind);
    const Hgdiobj previous = *slot;
    if (previous == handle) return previous;
    ++o->selected;
    *slot = handle;
    release_selection(previous);
    return previous;
}

int delete_object(Hgdiobj handle) {
    GdiObject* o = find_object(handle);
    if (!o || o->deleted) return fail(0, "delete_object: no such object");
    if (o->stock) return 1;
    if (o->selected > 0) {
        o->deleted = true;  // freed when the last context lets go of it
        return 1;
    }
    platform_state.objects.remove(raw(handle));
    return 1;
}

}  // namespace morlu::platform
