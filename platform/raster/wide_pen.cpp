#include "wide_pen.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "capsule_exact.h"
#include "exact_math.h"

namespace morlu::raster {
namespace {

// The 64-bit mantissa of long double holds products of coordinates up to 2^32
// exactly, so the tests at band edges are exact for any shape near the surface;
// far beyond it, rounding can move an edge pixel but cannot break anything.
using Real = long double;

// A closed interval of x on one row; empty when lo > hi.
struct Interval {
    Real lo = 1;
    Real hi = 0;
    bool empty() const {
        return lo > hi;
    }
};

constexpr Interval EVERYWHERE{-HUGE_VALL, HUGE_VALL};

Interval meet(const Interval& a, const Interval& b) {
    return {std::max(a.lo, b.lo), std::min(a.hi, b.hi)};
}

// The smallest interval holding both (the capsule is convex, so its parts on
// one row always touch).
Interval join(const Interval& a, const Interval& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return {std::min(a.lo, b.lo), std::max(a.hi, b.hi)};
}

// The x with lo <= coef * x <= hi.
Interval solve(Real coef, Real lo, Real hi) {
    if (coef == 0) return (lo <= 0 && 0 <= hi) ? EVERYWHERE : Interval{};
    if (coef > 0) return {lo / coef, hi / coef};
    return {hi / coef, lo / coef};
}

// Row y of the disc of radius r around (cx, cy).
Interval disc_row(Real cx, Real cy, Real r, Real y) {
    const Real rest = r * r - (y - cy) * (y - cy);
    if (rest < 0) return {};
    const Real h = std::sqrt(rest);
    return {cx - h, cx + h};
}

// The band around the segment, relative to its first end: the values every
// row of it uses, computed once per capsule.
struct Band {
    Real dx = 0;
    Real dy = 0;
    Real len2 = 0;
    Real reach = 0;  // the width times the segment's length
};

Band make_band(const Capsule& c) {
    const Real dx = Real(c.bx - c.ax), dy = Real(c.by - c.ay);
    const Real len2 = dx * dx + dy * dy;
    return {dx, dy, len2, Real(c.width) * std::sqrt(len2)};
}

// Row y of the band around the segment: points within r of the segment's line
// whose projection falls on the segment.
Interval band_row(const Capsule& c, const Band& band, Real y) {
    if (band.len2 == 0) return {};
    const Real ry = y - Real(c.ay);
    const Interval across = solve(band.dy, band.dx * ry - band.reach, band.dx * ry + band.reach);
    const Interval along = solve(band.dx, -band.dy * ry, band.len2 - band.dy * ry);
    const Interval rel = meet(across, along);
    if (rel.empty()) return rel;
    return {rel.lo + Real(c.ax), rel.hi + Real(c.ax)};
}

// Pixel columns whose doubled centre 2x lies in `iv`, limited to a little past
// the clip before converting so that no value outside int64 is converted.
ColumnRange pixel_columns(const Interval& iv, const PixelBox& clip) {
    if (iv.empty()) return {};
    const Real lo = std::clamp(iv.lo, Real(2) * clip.x0 - 4, Real(2) * clip.x1 + 4);
    const Real hi = std::clamp(iv.hi, Real(2) * clip.x0 - 4, Real(2) * clip.x1 + 4);
    return {static_cast<int64_t>(std::ceil(lo / 2)), static_cast<int64_t>(std::floor(hi / 2)) + 1};
}

// The capsule's rows: those whose doubled centre 2y lies within width of the
// segment's rows.
std::optional<RowRange> capsule_rows(const Capsule& c, const PixelBox& clip) {
    const int64_t top = std::min(c.ay, c.by) - c.width, bottom = std::max(c.ay, c.by) + c.width;
    return visible_rows(static_cast<int64_t>(ceil_div(top, 2)),
                        static_cast<int64_t>(floor_div(bottom, 2)) + 1, clip);
}

// Half-pixel coordinates of p, moved back by (sx, sy) half pixels.
Capsule make_capsule(Point a, Point b, int32_t width, int64_t sx, int64_t sy) {
    return {2 * int64_t{a.x} - sx, 2 * int64_t{a.y} - sy, 2 * int64_t{b.x} - sx, 2 * int64_t{b.y} - sy,
            width};
}

}  // namespace

void fill_capsule(const SpanWriter& out, const Capsule& c) {
    if (fill_capsule_exactly(out, c)) return;
    const auto rows = capsule_rows(c, out.clip());
    if (!rows) return;
    const Real r = Real(c.width);
    const Band band = make_band(c);
    for (int32_t y = rows->y0; y < rows->y1; ++y) {
        const Real yy = Real(2) * y;
        const Interval caps =
            join(disc_row(Real(c.ax), Real(c.ay), r, yy), disc_row(Real(c.bx), Real(c.by), r, yy));
        out.fill(y, pixel_columns(join(caps, band_row(c, band, yy)), out.clip()));
    }
}

Capsule line_capsule(Point a, Point b, int32_t width) {
    const int64_t even = width % 2 == 0 ? 1 : 0;
    const int64_t dx = std::abs(int64_t{b.x} - a.x), dy = std::abs(int64_t{b.y} - a.y);
    if (dx == 0 && dy == 0) return make_capsule(a, b, width, even, even);
    return dx >= dy ? make_capsule(a, b, width, 0, even) : make_capsule(a, b, width, even, 0);
}

Capsule figure_edge_capsule(Point a, Point b, int32_t width) {
    const int64_t even = width % 2 == 0 ? 1 : 0;
    return make_capsule(a, b, width, even, even);
}

}  // namespace morlu::raster
