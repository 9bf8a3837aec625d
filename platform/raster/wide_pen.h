// Wide pens: a pen of width w swept along a segment covers the pixels whose
// centres lie within w/2 of it, which gives the band with round caps, and
// round joins where segments meet.
#pragma once

#include <cstdint>

#include "shapes.h"
#include "spans.h"

namespace morlu::raster {

// A segment swept by a pen, in half pixels: pixel centres sit at even values,
// so the band of an even width can run between two rows or columns of centres.
struct Capsule {
    int64_t ax = 0;
    int64_t ay = 0;
    int64_t bx = 0;
    int64_t by = 0;
    int64_t width = 0;  // the pen width, which is the radius in half pixels
};

// Fill the pixels whose centres lie within width/2 of the segment, the edge
// included. Only the clip's rows are visited, each with a few square roots.
void fill_capsule(const SpanWriter& out, const Capsule& c);

// The capsule of a wide line. For even widths the band moves half a pixel up
// for x-major lines and left for y-major ones, so it covers the line's own
// row or column and the one above or left of it; a dot moves both ways.
Capsule line_capsule(Point a, Point b, int32_t width);

// The capsule of one edge of a closed figure (rectangle, polygon). For even
// widths the whole figure moves half a pixel up and left, so that the edges
// meet in the same corner: width 2 covers p-1..p of each edge coordinate p.
Capsule figure_edge_capsule(Point a, Point b, int32_t width);

}  // namespace morlu::raster
