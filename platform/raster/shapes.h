// The platform's shapes, drawn with its pixel rules: a pen outlines, a brush
// fills, and right and bottom edges of boxes are exclusive.
#pragma once

#include <cstdint>
#include <span>

#include "fill.h"
#include "surface.h"

namespace morlu::raster {

// A point in device pixels: pixel (x, y) is the one whose centre is (x, y).
struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

// A solid pen. Width 0 and 1 both give one-pixel lines. A wider pen draws
// each segment of a path as a quadrilateral and puts its dot (see PenDot) on
// every end point and corner; for even widths the extra pixel goes up or left.
struct Pen {
    bool null = false;
    int32_t width = 1;
    uint32_t color = 0;  // 0x00RRGGBB
};

// A solid brush, or the hollow one that fills nothing.
struct Brush {
    bool null = false;
    uint32_t color = 0x00FFFFFF;
};

// The platform's Rectangle: corners sorted, right column and bottom row outside.
// A one-pixel pen paints the ring and the brush the inside; a null pen loses the
// right column and bottom row of the fill (so a box less than two pixels across
// fills nothing); a 1 x 1 box with a one-pixel pen draws nothing. A wide pen
// draws the closed path (l, t)-(r-1, b-1): width 2 covers p-1..p of each edge
// coordinate p, width 3 p-1..p+1, and a 1 x 1 box is the pen's dot.
void draw_rectangle(Surface& s, const PixelBox& clip, const Rect& r, const Pen& pen, const Brush& brush);

// The platform's Ellipse, inscribed in the box as Rectangle is: its path spans
// (l, t)-(r-1, b-1), so (cx-r, cy-r, cx+r+1, cy+r+1) covers cx-r..cx+r. A 1 x 1
// box draws nothing; a 3 x 3 box gives a 5-pixel plus sign; boxes one or two
// pixels across are their whole box. A one-pixel pen outlines in pen colour and
// the brush fills inside; with a null pen the fill covers the same pixels as the
// outlined ellipse, except that boxes thinner than three pixels lose their right
// column and bottom row. A wide pen is drawn along the ellipse's path.
void draw_ellipse(Surface& s, const PixelBox& clip, const Rect& box, const Pen& pen, const Brush& brush);

// The platform's Polygon with alternate (even-odd) fill. A pixel is filled when
// its centre is inside; a centre exactly on a left or top edge is inside, on a
// right or bottom edge outside. The pen then draws each edge as draw_line
// does, closing the figure, so (0,0),(10,0),(10,10),(0,10) covers 11 x 11
// pixels. Fewer than two points draw nothing.
void draw_polygon(Surface& s,
                  const PixelBox& clip,
                  std::span<const Point> pts,
                  const Pen& pen,
                  const Brush& brush);

// A line from `from` to `to`. One-pixel pen: the first pixel is drawn, the last
// never, one pixel for each of max(|dx|, |dy|) steps along the longer axis, the
// one nearest the ideal line; an exact tie goes to the smaller y (x-major) or
// smaller x (y-major) whichever way the line is drawn. Wide pen: the segment's
// quadrilateral and the pen's dot on both end points; a zero-length line is
// the dot.
void draw_line(Surface& s, const PixelBox& clip, Point from, Point to, const Pen& pen);

}  // namespace morlu::raster
