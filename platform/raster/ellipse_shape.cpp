#include "ellipse_shape.h"

#include <algorithm>
#include <cstdlib>

namespace morlu::raster {
namespace {

// Boxes up to this size are walked: the walk's products stay below 2^58 and
// it takes at most a few thousand steps per quadrant.
constexpr int64_t WALK_LIMIT = int64_t{1} << 13;

bool thin(int64_t w, int64_t h) {
    return w <= 2 || h <= 2;
}

}  // namespace

EllipseShape::EllipseShape(int64_t l, int64_t t, int64_t w, int64_t h, EllipseSpanCache& cache)
    : l_(l), t_(t), w_(w), h_(h) {
    if (thin(w, h)) return;
    if (w > WALK_LIMIT || h > WALK_LIMIT) {
        large_.emplace(l, t, l + w, t + h);
        return;
    }
    spans_ = cache.find_or_make(w, h, [this] { return walk_spans(); });
}

std::shared_ptr<const EllipseSpans> EllipseShape::walk_spans() const {
    const int64_t a = w_ - 1, b2 = h_ - 1;
    // Per row offset v (in steps of two from the centre row): the half width
    // u of the row, or -1 for a row the walk leaves out. A row's half width
    // is that of the first pixel the walk reaches on it; the walk never goes
    // down, so that is where v changes.
    std::vector<int64_t> half(static_cast<size_t>(b2 / 2 + 1), -1);
    int64_t last_v = -1;
    walk_quadrant([&](int64_t u, int64_t v) {
        if (v == last_v || v > b2) return;
        last_v = v;
        half[static_cast<size_t>(v / 2)] = u;
    });
    // Each row from the top, mirrored about the centre row.
    auto spans = std::make_shared<EllipseSpans>(static_cast<size_t>(h_), EllipseRowSpan{0, 0});
    for (int64_t r = 0; r < h_; ++r) {
        const int64_t twice = 2 * r - b2;
        const int64_t u = half[static_cast<size_t>(std::abs(twice) / 2)];
        if (u >= 0)
            (*spans)[static_cast<size_t>(r)] = {static_cast<uint16_t>((a - u) / 2),
                                                static_cast<uint16_t>((a + u) / 2 + 1)};
    }
    return spans;
}

// The walk, in doubled coordinates from the centre: u = 2x, v = 2y with A, B
// the box's width and height less one, so pixel centres have u of the parity
// of A and v of the parity of B, and the curve is B^2 u^2 + A^2 v^2 = A^2 B^2.
// It starts at the widest pixel of the middle row and climbs one row a step
// while the curve is steep, moving in by one pixel when the outer pixel's
// value of the curve's equation and the inner one's add up to at least zero;
// then, where the curve flattens, it moves in by one pixel a step and climbs
// a row when the row's and the next row's values add up to at most zero,
// until it passes the middle column. Measured against the platform: where the
// walk reaches the middle column before the top row (long thin ellipses), the
// rows above are not drawn; the walk's rule for the switch, "the next steep
// step still has B^2 u > A^2 (v - 1)", is what the platform's pictures show.
template <class Visit>
void EllipseShape::walk_quadrant(Visit&& visit) const {
    const int64_t a = w_ - 1, b = h_ - 1;
    const auto value = [a, b](int64_t u, int64_t v) { return b * b * u * u + a * a * v * v - a * a * b * b; };
    int64_t u = a, v = b % 2;
    visit(u, v);
    // Each steep step climbs a row, and above the top row every step also moves in,
    // so the loop ends within a + b steps.
    while (true) {
        const int64_t next_v = v + 2;
        const int64_t next_u = value(u, next_v) + value(u - 2, next_v) >= 0 ? u - 2 : u;
        if (b * b * next_u <= a * a * (next_v - 1)) break;
        u = next_u;
        v = next_v;
        visit(u, v);
    }
    while (u >= 0) {
        u -= 2;
        if (value(u, v) + value(u, v + 2) <= 0) v += 2;
        visit(u, v);
    }
}

void EllipseShape::fill(const SpanWriter& out, const RowRange& rows) const {
    if (spans_) {
        out.fill_rows(rows, {l_, l_ + w_}, WalkedRows{l_, t_, spans_->data()});
        return;
    }
    // Thin and large boxes: always cut to the clip.
    const ColumnRange anywhere{INT64_MIN, INT64_MAX};
    out.fill_rows(rows, anywhere, [this](int64_t y) { return other_row(y); });
}

ColumnRange EllipseShape::other_row(int64_t y) const {
    if (thin(w_, h_)) return {l_, l_ + w_};
    return large_->row(y);
}

std::vector<Vertex> EllipseShape::path() const {
    std::vector<Vertex> out;
    const auto add = [&out](Vertex p) {
        if (out.empty() || out.back().x != p.x || out.back().y != p.y) out.push_back(p);
    };
    if (thin(w_, h_)) {
        const int64_t r = l_ + w_ - 1, b = t_ + h_ - 1;
        for (const Vertex p : {Vertex{l_, t_}, Vertex{r, t_}, Vertex{r, b}, Vertex{l_, b}}) add(p);
    } else if (traced()) {
        const int64_t a = w_ - 1, b = h_ - 1;
        std::vector<Vertex> q;  // (u, v) of the quadrant's pixels
        walk_quadrant([&](int64_t u, int64_t v) {
            if (u >= 0 && v <= b) q.push_back({u, v});
        });
        const auto at = [&](int64_t u, int64_t v) { return Vertex{l_ + (a + u) / 2, t_ + (b - v) / 2}; };
        for (const Vertex& p : q) add(at(p.x, p.y));
        for (auto it = q.rbegin(); it != q.rend(); ++it) add(at(-it->x, it->y));
        for (const Vertex& p : q) add(at(-p.x, -p.y));
        for (auto it = q.rbegin(); it != q.rend(); ++it) add(at(it->x, -it->y));
    }
    while (out.size() > 1 && out.front().x == out.back().x && out.front().y == out.back().y) out.pop_back();
    return out;
}

}  // namespace morlu::raster
