#include <algorithm>

#include "ellipse_rows.h"
#include "shapes.h"
#include "spans.h"

namespace morlu::raster {
namespace {

// The sorted box of a Rect, in 64 bits so that it can grow by a pen's width.
struct Box {
    int64_t l = 0;
    int64_t t = 0;
    int64_t r = 0;
    int64_t b = 0;
};

// Paint one row of a ring: the pen covers `outer` except `hole`, the brush (if
// any) covers the hole. An empty hole gives the pen the whole row.
void paint_ring_row(const SpanWriter& pen,
                    const SpanWriter* brush,
                    int32_t y,
                    const ColumnRange& outer,
                    const ColumnRange& hole) {
    if (hole.empty()) {
        pen.fill(y, outer);
        return;
    }
    pen.fill(y, {outer.x0, hole.x0});
    pen.fill(y, {hole.x1, outer.x1});
    if (brush) brush->fill(y, hole);
}

void fill_ellipse(const SpanWriter& out, const EllipseRows& e) {
    const auto rows = visible_rows(e.top(), e.bottom(), out.clip());
    if (!rows) return;
    EllipseRowWalk walk(e, rows->y0);
    for (int32_t y = rows->y0; y < rows->y1; ++y) out.fill(y, walk.next());
}

// A one-pixel outline: the ellipse's pixels that have a neighbour outside it
// (left, right, above or below), so the outline and the fill together cover
// exactly the ellipse. Rows outside the ellipse are empty ranges at column 0,
// and overlapping with them leaves nothing, which is what the edge rows need.
void draw_thin_ellipse(const SpanWriter& pen, const SpanWriter* brush, const EllipseRows& e) {
    const auto rows = visible_rows(e.top(), e.bottom(), pen.clip());
    if (!rows) return;
    EllipseRowWalk walk(e, int64_t{rows->y0} - 1);
    ColumnRange above = walk.next(), here = walk.next();
    for (int32_t y = rows->y0; y < rows->y1; ++y) {
        const ColumnRange below = walk.next();
        const ColumnRange inside = overlap(overlap({here.x0 + 1, here.x1 - 1}, above), below);
        paint_ring_row(pen, brush, y, here, inside);
        above = here;
        here = below;
    }
}

// A wide outline: the band between the ellipse through the outer pixels of the
// pen and the one through the first pixels inside it. Width w covers p-lo..p+hi
// of the path's extreme pixels p, with the extra pixel of even widths up/left.
void draw_wide_ellipse(const SpanWriter& pen, const SpanWriter* brush, const Box& box, int64_t width) {
    const int64_t lo = width / 2, hi = (width - 1) / 2;
    const EllipseRows outer(box.l - lo, box.t - lo, box.r + hi, box.b + hi);
    const Box in{box.l + hi + 1, box.t + hi + 1, box.r - 1 - lo, box.b - 1 - lo};
    const bool has_hole = in.r > in.l && in.b > in.t;
    const EllipseRows hole = has_hole ? EllipseRows(in.l, in.t, in.r, in.b) : outer;
    const auto rows = visible_rows(outer.top(), outer.bottom(), pen.clip());
    if (!rows) return;
    EllipseRowWalk outer_walk(outer, rows->y0), hole_walk(hole, rows->y0);
    for (int32_t y = rows->y0; y < rows->y1; ++y) {
        const ColumnRange o = outer_walk.next();
        paint_ring_row(pen, brush, y, o, has_hole ? overlap(hole_walk.next(), o) : ColumnRange{});
    }
}

}  // namespace

void draw_ellipse(Surface& s, const PixelBox& clip, const Rect& rect, const Pen& pen, const Brush& brush) {
    const Box box{std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
                  std::max(rect.left, rect.right), std::max(rect.top, rect.bottom)};
    // A box without area, or of one pixel (a path of no length), draws nothing.
    if (box.r - box.l < 1 || box.b - box.t < 1 || (box.r - box.l == 1 && box.b - box.t == 1)) return;
    const auto area = surface_clip(s, clip);
    if (!area) return;
    const SpanWriter fill(s, *area, brush.color);
    const SpanWriter* brush_out = brush.null ? nullptr : &fill;
    const EllipseRows path(box.l, box.t, box.r, box.b);
    if (pen.null) {
        if (brush_out) fill_ellipse(*brush_out, path);
        return;
    }
    const SpanWriter outline(s, *area, pen.color);
    if (pen.width <= 1) {
        draw_thin_ellipse(outline, brush_out, path);
    } else {
        draw_wide_ellipse(outline, brush_out, box, pen.width);
    }
}

}  // namespace morlu::raster
