#include "capsule_exact.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "exact_math.h"

namespace morlu::raster {
namespace {

// The bound on every half-pixel coordinate and on the width. Within it the
// long double path of fill_capsule is exact: its rounding errors stay below
// 2^-33 of a half pixel, while a band edge that misses a pixel centre misses
// it by at least 1 / (2 * width * length) > 2^-29, and a cap edge by at least
// 1 / (2 * width + 1). So both paths give the same pixels, and every product
// here fits in 64 bits (the largest, width^2 * length^2, is below 2^56).
constexpr int64_t LIMIT = int64_t{1} << 13;

// Stands for "any x" where a row does not constrain x at all.
constexpr int64_t FAR = std::numeric_limits<int64_t>::max() / 4;

// A closed range of half-pixel x on one row; empty when lo > hi.
struct Span {
    int64_t lo = 1;
    int64_t hi = 0;
    bool empty() const {
        return lo > hi;
    }
};

// The smallest range holding both (the capsule is convex, so its parts on one
// row always touch).
Span join(const Span& a, const Span& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return {std::min(a.lo, b.lo), std::max(a.hi, b.hi)};
}

// floor(sqrt(n)) for 0 <= n < 2^62: the double estimate, corrected.
int64_t isqrt(int64_t n) {
    int64_t q = static_cast<int64_t>(std::sqrt(static_cast<double>(n)));
    while (q * q > n) --q;
    while ((q + 1) * (q + 1) <= n) ++q;
    return q;
}

// The integers x with lo <= coef * x <= hi.
Span solve(int64_t coef, int64_t lo, int64_t hi) {
    if (coef == 0) return (lo <= 0 && 0 <= hi) ? Span{-FAR, FAR} : Span{};
    if (coef > 0) return {ceil_div64(lo, coef), floor_div64(hi, coef)};
    return {ceil_div64(-hi, -coef), floor_div64(-lo, -coef)};
}

// The capsule with its per-shape values worked out once.
struct Shape {
    int64_t ax = 0;
    int64_t ay = 0;
    int64_t bx = 0;
    int64_t by = 0;
    int64_t w2 = 0;  // the width squared
    int64_t dx = 0;
    int64_t dy = 0;
    int64_t len2 = 0;
    // floor(width * length): an integer distance |dy * x - dx * y| is within
    // width * length exactly when it is within this.
    int64_t reach = 0;
};

Shape make_shape(const Capsule& c) {
    const int64_t dx = c.bx - c.ax, dy = c.by - c.ay, len2 = dx * dx + dy * dy;
    return {c.ax, c.ay, c.bx, c.by, c.width * c.width, dx, dy, len2, isqrt(c.width * c.width * len2)};
}

// Row y of the disc of the width around (cx, cy): (x - cx)^2 <= rest holds
// for integer x exactly when |x - cx| <= floor(sqrt(rest)).
Span disc_row(int64_t cx, int64_t cy, int64_t w2, int64_t y) {
    const int64_t rest = w2 - (y - cy) * (y - cy);
    if (rest < 0) return {};
    const int64_t h = isqrt(rest);
    return {cx - h, cx + h};
}

// Row y of the band: points within the width of the segment's line whose
// projection falls on the segment.
Span band_row(const Shape& s, int64_t y) {
    if (s.len2 == 0) return {};
    const int64_t ry = y - s.ay;
    const Span across = solve(s.dy, s.dx * ry - s.reach, s.dx * ry + s.reach);
    const Span along = solve(s.dx, -s.dy * ry, s.len2 - s.dy * ry);
    const Span rel{std::max(across.lo, along.lo), std::min(across.hi, along.hi)};
    if (rel.empty()) return rel;
    return {rel.lo + s.ax, rel.hi + s.ax};
}

// Pixel columns whose doubled centre lies in the span.
ColumnRange pixel_columns(const Span& s) {
    if (s.empty()) return {};
    return {(s.lo + 1) >> 1, (s.hi >> 1) + 1};
}

bool small(const Capsule& c) {
    const auto within = [](int64_t v) { return v >= -LIMIT && v <= LIMIT; };
    return within(c.ax) && within(c.ay) && within(c.bx) && within(c.by) && c.width >= 0 && c.width <= LIMIT;
}

}  // namespace

bool fill_capsule_exactly(const SpanWriter& out, const Capsule& c) {
    if (!small(c)) return false;
    const int64_t top = std::min(c.ay, c.by) - c.width, bottom = std::max(c.ay, c.by) + c.width;
    const auto rows = visible_rows(ceil_div64(top, 2), floor_div64(bottom, 2) + 1, out.clip());
    if (!rows) return true;
    const Shape s = make_shape(c);
    for (int32_t y = rows->y0; y < rows->y1; ++y) {
        const int64_t yy = 2 * int64_t{y};
        const Span caps = join(disc_row(s.ax, s.ay, s.w2, yy), disc_row(s.bx, s.by, s.w2, yy));
        out.fill(y, pixel_columns(join(caps, band_row(s, yy))));
    }
    return true;
}

}  // namespace morlu::raster
