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
struct Edge {
    int64_t top_x = 0;
    int64_t top_y = 0;
    int64_t bottom_x = 0;
    int64_t bottom_y = 0;
};

// The first pixel column at or right of where `e` crosses row y, computed
// exactly: a centre on the crossing counts as right of it. Small edges keep
// the product in 64 bits; the rest use 128.
int64_t first_column_from(const Edge& e, int64_t y) {
    const int64_t rise = y - e.top_y, across = e.bottom_x - e.top_x, height = e.bottom_y - e.top_y;
    constexpr int64_t NARROW = int64_t{1} << 31;
    if (rise < NARROW && across < NARROW && across > -NARROW)
        return e.top_x + ceil_div64(rise * across, height);
    return e.top_x + static_cast<int64_t>(ceil_div(Int128{rise} * across, height));
}

// The polygon's edges that cross any of the rows `rows`; horizontal edges add
// nothing to an even-odd count.
void crossing_edges(std::span<const Vertex> pts, const RowRange& rows, std::vector<Edge>& edges) {
    for (size_t i = 0; i < pts.size(); ++i) {
        const Vertex a = pts[i], b = pts[(i + 1) % pts.size()];
        if (a.y == b.y) continue;
        const Edge e = a.y < b.y ? Edge{a.x, a.y, b.x, b.y} : Edge{b.x, b.y, a.x, a.y};
        if (e.bottom_y > rows.y0 && e.top_y < rows.y1) edges.push_back(e);
    }
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
    std::vector<Edge> edges;
    edges.reserve(pts.size());
    crossing_edges(pts, *rows, edges);
    std::vector<int64_t> xs;
    xs.reserve(edges.size());
    for (int32_t y = rows->y0; y < rows->y1; ++y) {
        xs.clear();
        for (const Edge& e : edges)
            if (e.top_y <= y && y < e.bottom_y) xs.push_back(first_column_from(e, y));
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2) out.fill(y, {xs[i], xs[i + 1]});
    }
}

}  // namespace morlu::raster
