#include <algorithm>

#include "ellipse_rows.h"
#include "ellipse_shape.h"
#include "shapes.h"
#include "spans.h"
#include "wide_pen.h"

namespace morlu::raster {
namespace {

// The sorted box of a Rect, in 64 bits so that it can grow by a pen's width.
struct Box {
    int64_t l = 0;
    int64_t t = 0;
    int64_t r = 0;
    int64_t b = 0;
    int64_t w() const {
        return r - l;
    }
    int64_t h() const {
        return b - t;
    }
    bool thin() const {
        return w() <= 2 || h() <= 2;
    }
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

void fill_shape(const SpanWriter& out, const EllipseShape& e) {
    if (const auto rows = visible_rows(e.top(), e.bottom(), out.clip())) e.fill(out, *rows);
}

// A one-pixel outline: the ellipse's pixels that have a neighbour outside it
// (left, right, above or below), so the outline and the fill together cover
// exactly the ellipse. Rows outside the ellipse are empty ranges, and
// overlapping with them leaves nothing, which is what the edge rows need.
void draw_thin_ellipse(const SpanWriter& pen, const SpanWriter* brush, const EllipseShape& e) {
    const auto rows = visible_rows(e.top(), e.bottom(), pen.clip());
    if (!rows) return;
    ColumnRange above = e.row(int64_t{rows->y0} - 1), here = e.row(rows->y0);
    for (int32_t y = rows->y0; y < rows->y1; ++y) {
        const ColumnRange below = e.row(int64_t{y} + 1);
        const ColumnRange inside = overlap(overlap({here.x0 + 1, here.x1 - 1}, above), below);
        paint_ring_row(pen, brush, y, here, inside);
        above = here;
        here = below;
    }
}

// Ellipses too large to walk: the band between the ellipse through the outer
// pixels of the pen and the one through the first pixels inside it. Width w
// covers p-lo..p+hi of the path's extreme pixels p, with the extra pixel of
// even widths up/left.
void draw_wide_band(const SpanWriter& pen, const Box& box, int64_t width) {
    const int64_t lo = width / 2, hi = (width - 1) / 2;
    const EllipseRows outer(box.l - lo, box.t - lo, box.r + hi, box.b + hi);
    const Box in{box.l + hi + 1, box.t + hi + 1, box.r - 1 - lo, box.b - 1 - lo};
    const bool has_hole = in.r > in.l && in.b > in.t;
    const auto rows = visible_rows(outer.top(), outer.bottom(), pen.clip());
    if (!rows) return;
    for (int32_t y = rows->y0; y < rows->y1; ++y) {
        const ColumnRange o = outer.row(y);
        const ColumnRange hole =
            has_hole ? overlap(EllipseRows(in.l, in.t, in.r, in.b).row(y), o) : ColumnRange{};
        paint_ring_row(pen, nullptr, y, o, hole);
    }
}

// A wide outline: the pen drawn along the ellipse's path, as along any path.
void draw_wide_ellipse(const SpanWriter& pen, const Box& box, const EllipseShape& e, int32_t width) {
    if (!box.thin() && !e.traced()) {
        draw_wide_band(pen, box, width);
        return;
    }
    draw_wide_path(pen, e.path(), true, width);
}

// Null pen: boxes at least three pixels across fill the ellipse's pixels;
// thinner ones fill the box less its right column and bottom row, as the
// Rectangle fill does.
void fill_without_pen(const SpanWriter& brush, const Box& box, const EllipseShape& e) {
    if (!box.thin()) {
        fill_shape(brush, e);
        return;
    }
    const auto rows = visible_rows(box.t, box.b - 1, brush.clip());
    if (!rows) return;
    for (int32_t y = rows->y0; y < rows->y1; ++y) brush.fill(y, {box.l, box.r - 1});
}

}  // namespace

void draw_ellipse(Surface& s, const PixelBox& clip, const Rect& rect, const Pen& pen, const Brush& brush) {
    const Box box{std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
                  std::max(rect.left, rect.right), std::max(rect.top, rect.bottom)};
    if (box.w() < 1 || box.h() < 1) return;
    const auto area = surface_clip(s, clip);
    if (!area) return;
    const SpanWriter fill(s, *area, brush.color);
    const SpanWriter* brush_out = brush.null ? nullptr : &fill;
    const EllipseShape shape(box.l, box.t, box.w(), box.h(), s.ellipse_spans());
    if (pen.null) {
        if (brush_out) fill_without_pen(*brush_out, box, shape);
        return;
    }
    const SpanWriter outline(s, *area, pen.color);
    if (pen.width > 1) {
        if (brush_out) fill_shape(*brush_out, shape);
        draw_wide_ellipse(outline, box, shape, pen.width);
        return;
    }
    // A one-pixel pen on a 1 x 1 box draws nothing: its path has no length.
    if (box.w() == 1 && box.h() == 1) return;
    // The outline and the fill together cover exactly the ellipse's pixels, so
    // when both are one colour (every filled circle a program draws) each row
    // is one run.
    if (brush_out && brush.color == pen.color) {
        fill_shape(*brush_out, shape);
        return;
    }
    draw_thin_ellipse(outline, brush_out, shape);
}

}  // namespace morlu::raster
