#include <vector>

#include "polygon_fill.h"
#include "shapes.h"
#include "spans.h"
#include "thin_line.h"
#include "wide_pen.h"

namespace morlu::raster {

void draw_polygon(Surface& s,
                  const PixelBox& clip,
                  std::span<const Point> pts,
                  const Pen& pen,
                  const Brush& brush) {
    if (pts.size() < 2) return;
    const auto area = surface_clip(s, clip);
    if (!area) return;
    std::vector<Vertex> vertices(pts.size());
    for (size_t i = 0; i < pts.size(); ++i) vertices[i] = {pts[i].x, pts[i].y};
    if (!brush.null) fill_polygon(SpanWriter(s, *area, brush.color), vertices);
    if (pen.null) return;
    const SpanWriter out(s, *area, pen.color);
    if (pen.width > 1) {
        draw_wide_path(out, vertices, true, pen.width);
        return;
    }
    // Each edge as a one-pixel line from one vertex to the next, the last back to the first.
    for (size_t i = 0; i < pts.size(); ++i) draw_thin_line(out, pts[i], pts[(i + 1) % pts.size()]);
}

}  // namespace morlu::raster
