#include "platform_state.h"

namespace morlu::platform {
namespace {

Hdc add_dc(Hwnd window) {
    DeviceContext dc;
    dc.window = window;
    const Hdc handle{platform_state.dcs.add(dc)};
    if (handle == Hdc::none) return fail(Hdc::none, "too many drawing contexts");
    // Selecting through select_object keeps the objects' selection counts right.
    select_object(handle, get_stock_object(BLACK_PEN));
    select_object(handle, get_stock_object(WHITE_BRUSH));
    select_object(handle, get_stock_object(SYSTEM_FONT));
    if (window == Hwnd::none) select_object(handle, platform_state.default_bitmap);
    return handle;
}

int remove_dc(Hdc hdc) {
    DeviceContext* dc = find_dc(hdc);
    if (!dc) return fail(0, "the context does not exist");
    const Hgdiobj held[] = {dc->pen, dc->brush, dc->font, dc->bitmap};
    platform_state.dcs.remove(raw(hdc));
    for (const Hgdiobj h : held) {
        GdiObject* o = find_object(h);
        if (!o) continue;
        --o->selected;
        if (o->deleted && o->selected <= 0) platform_state.objects.remove(raw(h));
    }
    return 1;
}

}  // namespace

Hdc get_dc(Hwnd hwnd) {
    if (!find_window_record(hwnd)) return fail(Hdc::none, "get_dc: no such window");
    return add_dc(hwnd);
}

int release_dc(Hwnd, Hdc hdc) {
    const DeviceContext* dc = find_dc(hdc);
    if (!dc || dc->window == Hwnd::none) return fail(0, "release_dc: not a window context");
    return remove_dc(hdc);
}

Hdc begin_paint(Hwnd hwnd, PaintStruct* ps) {
    Window* w = find_window_record(hwnd);
    if (!w || !ps) return fail(Hdc::none, "begin_paint: no such window");
    const bool erase = w->needs_erase;
    w->needs_paint = w->needs_erase = false;
    const Hdc hdc = add_dc(hwnd);
    *ps = {hdc, erase ? 1 : 0, {0, 0, w->pixels.size().w, w->pixels.size().h}};
    if (erase && send_message(hwnd, WM_ERASEBKGND, raw(hdc), 0) == 0) ps->erase = 1;
    return hdc;
}

int end_paint(Hwnd, const PaintStruct* ps) {
    return ps ? remove_dc(ps->hdc) : 0;
}

Hdc create_compatible_dc(Hdc) {
    return add_dc(Hwnd::none);
}

int delete_dc(Hdc hdc) {
    const DeviceContext* dc = find_dc(hdc);
    if (!dc || dc->window != Hwnd::none) return fail(0, "delete_dc: not a memory context");
    return remove_dc(hdc);
}

Surface* dc_target(DeviceContext& dc, PixelBox* clip) {
    Surface* target = nullptr;
    if (dc.window != Hwnd::none) {
        Window* w = find_window_record(dc.window);
        target = w ? &w->pixels : nullptr;
    } else if (GdiObject* bitmap = find_object(dc.bitmap)) {
        target = bitmap->bitmap.get();
    }
    if (target && clip) *clip = target->bounds();
    return target;
}

void dc_damaged(const DeviceContext& dc, const PixelBox& box) {
    if (dc.window == Hwnd::none) return;
    if (Window* w = find_window_record(dc.window)) w->damage = raster::unite(w->damage, box);
}

const Surface* dc_surface(Hdc hdc) {
    DeviceContext* dc = find_dc(hdc);
    return dc ? dc_target(*dc, nullptr) : nullptr;
}

ColorRef set_text_color(Hdc hdc, ColorRef color) {
    DeviceContext* dc = find_dc(hdc);
    if (!dc) return fail(ColorRef{0xFFFFFFFF}, "set_text_color: no such context");
    const ColorRef old = dc->text_color;
    dc->text_color = color & 0xFFFFFF;
    return old;
}

ColorRef set_bk_color(Hdc hdc, ColorRef color) {
    DeviceContext* dc = find_dc(hdc);
    if (!dc) return fail(ColorRef{0xFFFFFFFF}, "set_bk_color: no such context");
    const ColorRef old = dc->bk_color;
    dc->bk_color = color & 0xFFFFFF;
    return old;
}

ColorRef get_bk_color(Hdc hdc) {
    const DeviceContext* dc = find_dc(hdc);
    return dc ? dc->bk_color : fail(ColorRef{0xFFFFFFFF}, "get_bk_color: no such context");
}

int set_bk_mode(Hdc hdc, int mode) {
    DeviceContext* dc = find_dc(hdc);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return fail(0, "set_bk_mode: bad context or mode");
    const int old = dc->bk_mode;
    dc->bk_mode = mode;
    return old;
}

int get_bk_mode(Hdc hdc) {
    const DeviceContext* dc = find_dc(hdc);
    return dc ? dc->bk_mode : fail(0, "get_bk_mode: no such context");
}

}  // namespace morlu::platform
