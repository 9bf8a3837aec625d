#include <algorithm>

#include "shapes.h"
#include "spans.h"
#include "wide_pen.h"

namespace morlu::raster {
namespace {

// The box with its right column and bottom row taken off, computed in 64 bits
// so that a corner at INT32_MIN cannot wrap.
Rect shrink_right_bottom(int32_t l, int32_t t, int32_t r, int32_t b) {
    const auto dec = [](int32_t v) {
        return static_cast<int32_t>(std::max<int64_t>(int64_t{v} - 1, INT32_MIN));
    };
    return {l, t, dec(r), dec(b)};
}

void draw_thin_ring(Surface& s,
                    const PixelBox& clip,
                    int32_t l,
                    int32_t t,
                    int32_t r,
                    int32_t b,
                    uint32_t c) {
    // r and b are inclusive here; each edge is a one-pixel box.
    const auto inc = [](int32_t v) {
        return static_cast<int32_t>(std::min<int64_t>(int64_t{v} + 1, INT32_MAX));
    };
    fill_rect(s, {l, t, inc(r), inc(t)}, clip, c);
    fill_rect(s, {l, b, inc(r), inc(b)}, clip, c);
    fill_rect(s, {l, t, inc(l), inc(b)}, clip, c);
    fill_rect(s, {r, t, inc(r), inc(b)}, clip, c);
}

// A wide pen's outline: the closed path through the outer pixels' centres,
// (l, t)-(r, b) with r and b inclusive, drawn as the pen draws any path. A
// 1 x 1 box is four copies of one point: the pen's dot.
void draw_wide_ring(Surface& s, const PixelBox& clip, const Rect& path, const Pen& pen) {
    const auto area = surface_clip(s, clip);
    if (!area) return;
    const Vertex corners[] = {
        {path.left, path.top}, {path.right, path.top}, {path.right, path.bottom}, {path.left, path.bottom}};
    draw_wide_path(SpanWriter(s, *area, pen.color), corners, true, pen.width);
}

}  // namespace

void draw_rectangle(Surface& s, const PixelBox& clip, const Rect& rect, const Pen& pen, const Brush& brush) {
    const int32_t l = std::min(rect.left, rect.right), r = std::max(rect.left, rect.right);
    const int32_t t = std::min(rect.top, rect.bottom), b = std::max(rect.top, rect.bottom);
    const int64_t w = int64_t{r} - l, h = int64_t{b} - t;
    if (pen.null) {
        // The fill loses the right column and bottom row, so a box less than
        // two pixels across (the shrunk box would turn over) fills nothing.
        if (!brush.null && w >= 2 && h >= 2) fill_rect(s, shrink_right_bottom(l, t, r, b), clip, brush.color);
        return;
    }
    // Zero width or height draws nothing.
    if (w < 1 || h < 1) return;
    const Rect inner = shrink_right_bottom(l, t, r, b);  // inclusive right and bottom pixels
    if (pen.width > 1) {
        if (!brush.null) fill_rect(s, {l, t, r, b}, clip, brush.color);
        draw_wide_ring(s, clip, inner, pen);
        return;
    }
    // A one-pixel pen on a 1 x 1 box draws nothing: its path has no length.
    if (w == 1 && h == 1) return;
    if (!brush.null) fill_rect(s, {l, t, r, b}, clip, brush.color);
    // The ring lies on the fill's edge pixels: in the fill's colour it adds nothing.
    if (!brush.null && brush.color == pen.color) return;
    draw_thin_ring(s, clip, l, t, inner.right, inner.bottom, pen.color);
}

}  // namespace morlu::raster
