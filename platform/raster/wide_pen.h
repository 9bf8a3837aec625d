// Wide pens as the platform builds them: each segment of a path is a
// quadrilateral filled by the polygon rule, and every end point and corner
// gets the pen's dot.
#pragma once

#include <cstdint>
#include <span>

#include "ellipse_shape.h"
#include "polygon_fill.h"
#include "spans.h"

namespace morlu::raster {

// The pen's dot: what the platform's Ellipse with a one-pixel pen covers in
// the width x width box whose top-left corner is width/2 up and left of the
// point. Width 2 is a 2 x 2 block, 3 a plus sign, 4, 5 and 6 cover 12, 21
// and 24 pixels. Caps and joins are this dot.
class PenDot {
public:
    PenDot(int32_t width, EllipseSpanCache& cache);
    void stamp(const SpanWriter& out, Vertex at) const;

private:
    EllipseShape shape_;  // the dot's box, width / 2 up and left of the point
};

// The body of a segment a-b of a wide pen, without its dots.
void fill_segment_body(const SpanWriter& out, Vertex a, Vertex b, int32_t width);

// A path drawn with a wide pen: each segment's body and a dot on every point.
// A closed path also joins its last point to its first.
void draw_wide_path(const SpanWriter& out, std::span<const Vertex> pts, bool closed, int32_t width);

}  // namespace morlu::raster
