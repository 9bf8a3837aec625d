// A discrete ellipse inscribed in a box, computed row by row with square
// roots: the rows of ellipses too large for the platform's walk
// (EllipseShape), where it costs nothing per row above or below the clip.
#pragma once

#include <cstdint>

#include "spans.h"

namespace morlu::raster {

// The ellipse whose path runs through the centres of the box's outer pixels,
// (l, t)-(r-1, b-1). A pixel belongs to it when the point half a pixel nearer
// the centre, horizontally or vertically, lies on or inside that path. For
// circles these are exactly the pixels a midpoint circle encloses (its outline
// included); flat ellipses can differ from a midpoint ellipse by a pixel where
// the curve turns through 45 degrees. Every row of the box holds pixels, and
// the widest row spans the whole box.
class EllipseRows {
public:
    // A box with l < r and t < b; 64-bit because wide pens grow boxes past int32.
    EllipseRows(int64_t l, int64_t t, int64_t r, int64_t b);

    int64_t top() const {
        return top_;
    }
    int64_t bottom() const {
        return top_ + height_ + 1;
    }
    // The ellipse's columns on row y; empty for rows outside the box.
    ColumnRange row(int64_t y) const;

private:
    // The row's half-pixel offset v from the centre, 0 <= v <= height_.
    int64_t offset(int64_t y) const;
    ColumnRange columns(int64_t u) const;
    int64_t half_width(int64_t v) const;
    bool holds(int64_t u, int64_t v) const;

    // In half pixels from the centre: a pixel at offset (u, v) has u of the
    // parity of width_ and v of the parity of height_.
    int64_t left_ = 0;
    int64_t top_ = 0;
    int64_t width_ = 0;   // r-1-l: the path's width, twice the x radius
    int64_t height_ = 0;  // b-1-t: twice the y radius
};

}  // namespace morlu::raster
