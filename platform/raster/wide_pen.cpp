#include "wide_pen.h"

#include <cmath>
#include <cstdlib>

#include "exact_math.h"

namespace morlu::raster {
namespace {

// floor(sqrt(n)) for 0 <= n < 2^62: the double estimate, corrected.
int64_t isqrt(int64_t n) {
    int64_t q = static_cast<int64_t>(std::sqrt(static_cast<double>(n)));
    while (q > 0 && q * q > n) --q;
    while ((q + 1) * (q + 1) <= n) ++q;
    return q;
}

// floor(n * width / length) for a segment whose squared length is len2 and a
// component n <= length of it: twice a component of the pen's half-width
// offset across the segment. Exact while the products fit in 128 bits (every
// segment near the surface with a pen up to 2^16 wide); beyond that the
// long double value can only be off where the offset is within 2^-40 of an
// integer.
int64_t doubled_offset(int64_t n, int64_t width, Int128 len2) {
    // Segments on the surface with ordinary pens: the product fits in 64 bits,
    // where dividing is several times cheaper.
    if (n < (int64_t{1} << 20) && width <= (int64_t{1} << 10) && len2 < (Int128{1} << 62))
        return isqrt(n * n * width * width / static_cast<int64_t>(len2));
    if (n < (int64_t{1} << 31) && width <= (int64_t{1} << 16))
        return isqrt(static_cast<int64_t>(Int128{n} * n * width * width / len2));
    const long double exact = static_cast<long double>(n) * width / std::sqrt(static_cast<long double>(len2));
    return static_cast<int64_t>(std::floor(exact));
}

int64_t sign(int64_t v) {
    return (v > 0) - (v < 0);
}

// The two offsets across the segment (dx, dy) at which the platform puts the
// corners of a wide pen's quadrilateral. Across the segment the pen reaches
// w/2 either way: the offset (-dy, dx) * w / (2 length) and its opposite. The
// side whose offset points right (positive x) rounds each component strictly
// away from zero (floor of its size plus one), the other rounds to the
// nearest integer with halves away from zero. Horizontal and vertical
// segments reach w/2 up or left and (w + 1)/2 down or right, as the dot does.
struct Offsets {
    Vertex first;
    Vertex second;
};

Offsets body_offsets(int64_t dx, int64_t dy, int64_t w) {
    if (dy == 0) return {{0, -(w / 2)}, {0, (w + 1) / 2}};
    if (dx == 0) return {{-(w / 2), 0}, {(w + 1) / 2, 0}};
    const Int128 len2 = Int128{dx} * dx + Int128{dy} * dy;
    const int64_t mx = doubled_offset(std::abs(dy), w, len2), my = doubled_offset(std::abs(dx), w, len2);
    const int64_t down = sign(dx) * sign(dy);  // the y sign of the left-hand side's offset
    const Vertex rightward{mx / 2 + 1, -down * (my / 2 + 1)};
    const Vertex leftward{-((mx + 1) / 2), down * ((my + 1) / 2)};
    return {leftward, rightward};
}

Vertex plus(Vertex p, Vertex d) {
    return {p.x + d.x, p.y + d.y};
}

}  // namespace

PenDot::PenDot(int32_t width, EllipseSpanCache& cache)
    : shape_(-(width / 2), -(width / 2), width, width, cache) {
}

void PenDot::stamp(const SpanWriter& out, Vertex at) const {
    const auto rows = visible_rows(at.y + shape_.top(), at.y + shape_.bottom(), out.clip());
    if (!rows) return;
    for (int32_t y = rows->y0; y < rows->y1; ++y) {
        const ColumnRange cols = shape_.row(y - at.y);
        if (!cols.empty()) out.fill(y, {cols.x0 + at.x, cols.x1 + at.x});
    }
}

void fill_segment_body(const SpanWriter& out, Vertex a, Vertex b, int32_t width) {
    const int64_t dx = b.x - a.x, dy = b.y - a.y;
    if (dx == 0 && dy == 0) return;
    // Rows and columns the body can reach; far-off segments are skipped whole.
    const PixelBox& c = out.clip();
    if (std::max(a.y, b.y) + width < c.y0 || std::min(a.y, b.y) - width >= c.y1) return;
    if (std::max(a.x, b.x) + width < c.x0 || std::min(a.x, b.x) - width >= c.x1) return;
    const Offsets o = body_offsets(dx, dy, width);
    const Vertex quad[] = {plus(a, o.first), plus(b, o.first), plus(b, o.second), plus(a, o.second)};
    fill_polygon(out, quad);
}

void draw_wide_path(const SpanWriter& out, std::span<const Vertex> pts, bool closed, int32_t width) {
    if (pts.empty()) return;
    const PenDot dot(width, out.surface().ellipse_spans());
    for (size_t i = 0; i + 1 < pts.size(); ++i) fill_segment_body(out, pts[i], pts[i + 1], width);
    if (closed && pts.size() > 2) fill_segment_body(out, pts.back(), pts.front(), width);
    for (const Vertex& p : pts) dot.stamp(out, p);
}

}  // namespace morlu::raster
