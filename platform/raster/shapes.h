// The platform's shapes, drawn with its pixel rules: a pen outlines, a brush
// fills, and right and bottom edges of boxes are exclusive.
#pragma once

#include <cstdint>

#include "fill.h"
#include "surface.h"

namespace morlu::raster {

// A solid pen. Width 0 and 1 both give one-pixel lines.
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
// right column and bottom row of the fill; a 1 x 1 box with a pen draws nothing.
void draw_rectangle(Surface& s, const PixelBox& clip, const Rect& r, const Pen& pen, const Brush& brush);

}  // namespace morlu::raster
