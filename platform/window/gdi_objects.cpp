#include "platform_state.h"

namespace morlu::platform {
namespace {

// A new object, set up in its table slot by init(object).
template <class Init>
Hgdiobj add_object(Init&& init) {
    return Hgdiobj{platform_state.objects.make(init)};
}

Hgdiobj add_pen(bool null, int32_t width, ColorRef color, bool stock = false) {
    return add_object([&](GdiObject& o) {
        o.kind = GdiObject::Kind::pen;
        o.stock = stock;
        o.pen = {null, width, to_pixel(color)};
    });
}

Hgdiobj add_brush(bool null, ColorRef color, bool stock = false) {
    return add_object([&](GdiObject& o) {
        o.kind = GdiObject::Kind::brush;
        o.stock = stock;
        o.brush = {null, to_pixel(color)};
    });
}

Hgdiobj add_font(const raster::FontRequest& request, bool stock = false) {
    return add_object([&](GdiObject& o) {
        o.kind = GdiObject::Kind::font;
        o.stock = stock;
        o.font = std::make_shared<FontObject>(FontObject{request, nullptr, false});
    });
}

Hgdiobj add_bitmap(Size size, bool stock) {
    return add_object([&](GdiObject& o) {
        o.kind = GdiObject::Kind::bitmap;
        o.stock = stock;
        o.bitmap = std::make_shared<Surface>(size, 0);
    });
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
    Hgdiobj* stock = platform_state.stock;
    stock[WHITE_BRUSH] = add_brush(false, rgb(255, 255, 255), true);
    stock[BLACK_BRUSH] = add_brush(false, rgb(0, 0, 0), true);
    stock[NULL_BRUSH] = add_brush(true, 0, true);
    stock[WHITE_PEN] = add_pen(false, 1, rgb(255, 255, 255), true);
    stock[BLACK_PEN] = add_pen(false, 1, rgb(0, 0, 0), true);
    stock[NULL_PEN] = add_pen(true, 1, 0, true);
    // The log console's fixed font: the default monospace face with a 13-pixel cell.
    stock[ANSI_FIXED_FONT] = add_font({13, FW_NORMAL, false, true, "monospace"}, true);
    stock[SYSTEM_FONT] = add_font({16, FW_BOLD, false, false, "sans-serif"}, true);
    platform_state.default_bitmap = add_bitmap({1, 1}, true);
}

Hgdiobj get_stock_object(int index) {
    if (index < 0 || index > SYSTEM_FONT) return fail(Hgdiobj::none, "get_stock_object: no such object");
    return platform_state.stock[index];
}

Hgdiobj create_pen(int style, int32_t width, ColorRef color) {
    return add_pen(style == PS_NULL, width < 0 ? 0 : width, color);
}

Hgdiobj create_solid_brush(ColorRef color) {
    return add_brush(false, color);
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
    return add_font({height, weight == 0 ? FW_NORMAL : weight, italic != 0, false, face ? face : ""});
}

Hgdiobj create_compatible_bitmap(Hdc hdc, int32_t w, int32_t h) {
    if (!find_dc(hdc)) return fail(Hgdiobj::none, "create_compatible_bitmap: no such context");
    // Keep a runaway size from taking all memory: the platform refuses such bitmaps too.
    if (w <= 0 || h <= 0 || int64_t{w} * h > (int64_t{1} << 26))
        return fail(Hgdiobj::none, "create_compatible_bitmap: bad size");
    return add_bitmap({w, h}, false);
}

const raster::Font* object_font(GdiObject& object) {
    FontObject* f = object.font.get();
    if (!f) return nullptr;
    if (!f->resolved) {
        f->font = platform_state.fonts.open(f->request);
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

size_t live_object_count() {
    return platform_state.objects.size();
}

}  // namespace morlu::platform
