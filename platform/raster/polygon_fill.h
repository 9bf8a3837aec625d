// The platform's polygon fill on 64-bit vertices, shared by Polygon and by the
// quadrilaterals wide pens are built from.
#pragma once

#include <cstdint>
#include <span>

#include "spans.h"

namespace morlu::raster {

// A vertex in device pixels; 64-bit because a pen's offsets can carry a
// vertex past the int32 range.
struct Vertex {
    int64_t x = 0;
    int64_t y = 0;
};

// Even-odd fill: a pixel is filled when its centre is inside; a centre exactly
// on a left or top edge is inside, on a right or bottom edge outside. Only the
// clip's rows are visited.
void fill_polygon(const SpanWriter& out, std::span<const Vertex> pts);

}  // namespace morlu::raster
