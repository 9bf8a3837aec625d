// One-pixel lines, shared by draw_line and the polygon outline.
#pragma once

#include "shapes.h"
#include "spans.h"

namespace morlu::raster {

// The one-pixel line from a to b: the first pixel drawn, the last never, one
// pixel per step of the longer axis, exact halves to the smaller coordinate.
// Only the steps inside the writer's clip are visited, found by solving the
// line's equation, so a line across the whole int32 range costs no more than
// one across the surface.
void draw_thin_line(const SpanWriter& out, Point a, Point b);

}  // namespace morlu::raster
