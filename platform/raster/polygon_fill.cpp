#include "polygon_fill.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

#include "exact_math.h"

namespace morlu::raster {
namespace {

// A non-horizontal edge, top end first. It crosses rows top_y..bottom_y-1:
// a centre on its top end counts and one on its bottom end does not, which is
// what puts top edges inside and bottom edges outside.
// Always made with all four values; no defaults, so a list of them on the
// stack costs nothing to set up.
struct Edge {
    int64_t top_x;
    int64_t top_y;
    int64_t bottom_x;
    int64_t bottom_y;
};

// Where an edge crosses the rows, walked one row at a time without dividing:
// the crossing on a row is the first pixel column whose centre is at or right
// of it, top_x + ceil(rise * across / height), kept as the floor quotient and
// its remainder and stepped by across / height each row. Exact like the
// division it replaces; only the start needs 128 bits for far-off edges.
class EdgeWalk {
public:
    EdgeWalk() = default;  // left unset: only the walks a polygon makes are read
    EdgeWalk(const Edge& e, int64_t first_row)
        : top_x_(e.top_x), height_(e.bottom_y - e.top_y), bottom_y_(e.bottom_y), top_y_(e.top_y) {
        const int64_t across = e.bottom_x - e.top_x, rise = first_row - e.top_y;
        constexpr int64_t NARROW = int64_t{1} << 31;
        if (rise == 0) {  // the usual start: the edge's own top row
            q_ = r_ = 0;
        } else if (rise < NARROW && across < NARROW && across > -NARROW) {
            q_ = floor_div64(rise * across, height_);
            r_ = rise * across - q_ * height_;
        } else {
            const Int128 start = Int128{rise} * across;
            q_ = static_cast<int64_t>(floor_div(start, height_));
            r_ = static_cast<int64_t>(start - Int128{q_} * height_);
        }
        step_q_ = floor_div64(across, height_);
        step_r_ = across - step_q_ * height_;
    }
    bool crosses(int64_t y) const {
        return top_y_ <= y && y < bottom_y_;
    }
    int64_t column() const {
        return top_x_ + q_ + (r_ > 0 ? 1 : 0);
    }
    void next_row() {
        q_ += step_q_;
        r_ += step_r_;
        if (r_ >= height_) {
            ++q_;
            r_ -= height_;
        }
    }

private:
    int64_t top_x_, height_, bottom_y_, top_y_;
    int64_t q_, r_, step_q_, step_r_;
};

// A list that lives on the stack for the few items of the usual triangle or
// pen quadrilateral, and on the heap beyond that.
template <class T, size_t N>
class SmallList {
public:
    void push_back(const T& v) {
        if (size_ < N) {
            small_[size_++] = v;
            return;
        }
        if (heap_.empty()) heap_.assign(small_.begin(), small_.end());
        heap_.push_back(v);
        ++size_;
    }
    T* data() {
        return heap_.empty() ? small_.data() : heap_.data();
    }
    size_t size() const {
        return size_;
    }
    void clear() {
        size_ = 0;
        heap_.clear();
    }

private:
    std::array<T, N> small_;  // not cleared: only the first size_ items are ever read
    std::vector<T> heap_;
    size_t size_ = 0;
};

// Walks of the polygon's edges that cross any of the rows `rows`, each
// starting on its first visible row; horizontal edges add nothing to an
// even-odd count.
template <class List>
void crossing_edges(std::span<const Vertex> pts, const RowRange& rows, List& walks) {
    for (size_t i = 0; i < pts.size(); ++i) {
        const Vertex a = pts[i], b = pts[i + 1 == pts.size() ? 0 : i + 1];
        if (a.y == b.y) continue;
        const Edge e = a.y < b.y ? Edge{a.x, a.y, b.x, b.y} : Edge{b.x, b.y, a.x, a.y};
        if (e.bottom_y > rows.y0 && e.top_y < rows.y1)
            walks.push_back(EdgeWalk(e, std::max<int64_t>(e.top_y, rows.y0)));
    }
}

// Whether y only falls, then only rises, going once round the polygon
// (horizontal edges aside): then every row between its top and bottom
// crosses exactly two edges, one going down and one coming back up. Every
// triangle and every pen quadrilateral is such a polygon.
bool falls_once(std::span<const Vertex> pts) {
    const auto rise = [&](size_t i) {
        const int64_t dy = pts[i + 1 == pts.size() ? 0 : i + 1].y - pts[i].y;
        return (dy > 0) - (dy < 0);
    };
    int last = 0;  // going round, the edge before the first is the last one that is not horizontal
    for (size_t i = pts.size(); i-- > 0 && last == 0;) last = rise(i);
    int turns = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        const int sign = rise(i);
        if (sign == 0) continue;
        if (sign != last) ++turns;
        last = sign;
    }
    return turns == 2;
}

// The edges of one side of a polygon that falls once, top to bottom; each
// starts on the row the one before it ends on.
class Side {
public:
    void add(const Edge& e) {
        edges_.push_back(e);
    }
    // Order the edges and start on `first_row`, which is on this side.
    void start(int64_t first_row) {
        Edge* e = edges_.data();
        for (size_t i = 1; i < edges_.size(); ++i)  // a few edges: sorted in place, by their tops
            for (size_t j = i; j > 0 && e[j].top_y < e[j - 1].top_y; --j) std::swap(e[j], e[j - 1]);
        while (e[at_].bottom_y <= first_row) ++at_;
        walk_ = EdgeWalk(e[at_], first_row);
    }
    // The crossing on row y, the row after the last one asked for.
    int64_t column(int64_t y) {
        if (y >= edges_.data()[at_].bottom_y) walk_ = EdgeWalk(edges_.data()[++at_], y);
        const int64_t c = walk_.column();
        walk_.next_row();
        return c;
    }

private:
    SmallList<Edge, 4> edges_;
    size_t at_ = 0;
    EdgeWalk walk_;
};

// A polygon that falls once, two crossings a row: no list, no sort.
void fill_falling_once(const SpanWriter& out, std::span<const Vertex> pts, const RowRange& rows) {
    Side down, up;
    for (size_t i = 0; i < pts.size(); ++i) {
        const Vertex a = pts[i], b = pts[i + 1 == pts.size() ? 0 : i + 1];
        if (a.y < b.y) down.add(Edge{a.x, a.y, b.x, b.y});
        if (a.y > b.y) up.add(Edge{b.x, b.y, a.x, a.y});
    }
    down.start(rows.y0);
    up.start(rows.y0);
    // A crossing lies between its edge's ends, so the runs lie within the polygon's columns.
    const auto [left, right] = std::minmax_element(
        pts.begin(), pts.end(), [](const Vertex& a, const Vertex& b) { return a.x < b.x; });
    out.fill_rows(rows, {left->x, right->x}, [&down, &up](int32_t y) {
        const int64_t a = down.column(y), b = up.column(y);
        return ColumnRange{std::min(a, b), std::max(a, b)};
    });
}

}  // namespace

// On each row, a pixel is inside when an odd number of edges cross the row
// at or left of its centre, so the sorted crossings pair up into runs
// [c0, c1), [c2, c3), ...
void fill_polygon(const SpanWriter& out, std::span<const Vertex> pts) {
    if (pts.size() < 3) return;
    const auto [lowest, highest] = std::minmax_element(
        pts.begin(), pts.end(), [](const Vertex& a, const Vertex& b) { return a.y < b.y; });
    const auto rows = visible_rows(lowest->y, highest->y, out.clip());
    if (!rows) return;
    if (falls_once(pts)) {
        fill_falling_once(out, pts, *rows);
        return;
    }
    SmallList<EdgeWalk, 8> walks;
    crossing_edges(pts, *rows, walks);
    SmallList<int64_t, 8> xs;
    for (int32_t y = rows->y0; y < rows->y1; ++y) {
        xs.clear();
        EdgeWalk* w = walks.data();
        for (size_t i = 0; i < walks.size(); ++i) {
            if (!w[i].crosses(y)) continue;
            xs.push_back(w[i].column());
            w[i].next_row();
        }
        int64_t* x = xs.data();
        const size_t n = xs.size();
        // A row that crosses two edges needs no sort.
        if (n == 2) {
            out.fill(y, {std::min(x[0], x[1]), std::max(x[0], x[1])});
            continue;
        }
        std::sort(x, x + n);
        for (size_t i = 0; i + 1 < n; i += 2) out.fill(y, {x[i], x[i + 1]});
    }
}

}  // namespace morlu::raster
