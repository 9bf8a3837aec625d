#include "ellipse_rows.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>

#include "exact_math.h"

namespace morlu::raster {
namespace {

using UInt128 = unsigned __int128;

// Radii (in half pixels) below this keep every product of the exact test in 128 bits.
constexpr int64_t EXACT_LIMIT = int64_t{1} << 32;
// Radii (in half pixels) below this keep them in 64 bits.
constexpr int64_t NARROW_LIMIT = int64_t{1} << 16;

// floor(a * sqrt(p * q) / b), the largest u with b^2 u^2 <= a^2 p q, estimated
// in double: the result is at most 2^34, so the estimate is off by at most one
// and the caller corrects it.
int64_t scaled_root(int64_t a, int64_t p, int64_t q, int64_t b) {
    return static_cast<int64_t>(double(a) * std::sqrt(double(p) * double(q)) / double(b));
}

// Pixel offset u of the same parity as `a`, at most u.
int64_t with_parity_of(int64_t u, int64_t a) {
    return ((u ^ a) & 1) != 0 ? u - 1 : u;
}

}  // namespace

EllipseRows::EllipseRows(int64_t l, int64_t t, int64_t r, int64_t b)
    : left_(l), top_(t), width_(r - 1 - l), height_(b - 1 - t) {
    assert(r > l && b > t);
}

ColumnRange EllipseRows::row(int64_t y) const {
    if (y < top_ || y > top_ + height_) return {};
    return columns(half_width(offset(y)));
}

int64_t EllipseRows::offset(int64_t y) const {
    return std::abs(2 * y - 2 * top_ - height_);
}

ColumnRange EllipseRows::columns(int64_t u) const {
    return {left_ + (width_ - u) / 2, left_ + (width_ + u) / 2 + 1};
}

// Whether the point (pu, pv) lies on or inside the path u^2/A^2 + v^2/B^2 = 1,
// tested as B^2 pu^2 <= A^2 (B^2 - pv^2) so that no side exceeds A^2 B^2.
// `Unsigned` must hold A^2 B^2.
template <class Unsigned>
bool inside_path(int64_t a, int64_t b, int64_t pu, int64_t pv) {
    const Unsigned a2 = Unsigned(a) * Unsigned(a), b2 = Unsigned(b) * Unsigned(b);
    const Unsigned pv2 = Unsigned(std::abs(pv)) * Unsigned(std::abs(pv));
    if (pv2 > b2) return false;
    const Unsigned pu2 = Unsigned(std::abs(pu)) * Unsigned(std::abs(pu));
    return b2 * pu2 <= a2 * (b2 - pv2);
}

// Whether the pixel at half-pixel offset (u, v), u <= A, belongs: the point
// half a pixel nearer the centre vertically (v-1) or horizontally (u-1) lies
// on or inside the path. Ellipses with A B < 2^32 (all but the huge ones) do
// the test in 64 bits, the rest in 128.
bool EllipseRows::holds(int64_t u, int64_t v) const {
    const int64_t a = width_, b = height_;
    if (a < NARROW_LIMIT && b < NARROW_LIMIT)
        return inside_path<uint64_t>(a, b, u, v - 1) || inside_path<uint64_t>(a, b, u - 1, v);
    return inside_path<UInt128>(a, b, u, v - 1) || inside_path<UInt128>(a, b, u - 1, v);
}

// The largest pixel offset u on the row at half-pixel offset v (0 <= v <= B).
int64_t EllipseRows::half_width(int64_t v) const {
    const int64_t a = width_, b = height_;
    if (a == 0 || b == 0) return a;  // a line: one column, or the whole row
    const int64_t flat = scaled_root(a, b - (v - 1), b + (v - 1), b);
    const int64_t steep = 1 + scaled_root(a, b - v, b + v, b);
    int64_t u = with_parity_of(std::clamp<int64_t>(std::max(flat, steep), a & 1, a), a);
    // The estimate can be a step off where the path passes exactly through a
    // pixel centre; correct it with the exact test while the radii allow it.
    if (a >= EXACT_LIMIT || b >= EXACT_LIMIT) return u;
    if (u + 2 <= a && holds(u + 2, v)) u += 2;
    if (u - 2 >= (a & 1) && !holds(u, v)) u -= 2;
    return u;
}

}  // namespace morlu::raster
