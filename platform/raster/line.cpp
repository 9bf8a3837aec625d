#include "shapes.h"
#include "spans.h"
#include "thin_line.h"
#include "wide_pen.h"

namespace morlu::raster {

void draw_line(Surface& s, const PixelBox& clip, Point from, Point to, const Pen& pen) {
    if (pen.null) return;
    const auto area = surface_clip(s, clip);
    if (!area) return;
    const SpanWriter out(s, *area, pen.color);
    if (pen.width <= 1) {
        draw_thin_line(out, from, to);
    } else {
        const Vertex ends[] = {{from.x, from.y}, {to.x, to.y}};
        draw_wide_path(out, ends, false, pen.width);
    }
}

}  // namespace morlu::raster
