// Span filling with clipping done before the loop.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>

#include "fill_row.h"
#include "surface.h"

namespace morlu::raster {

// A rectangle as the caller gave it: any int32 values, corners in any order.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// Sort the corners and intersect with `clip` (itself inside the surface). Only
// min/max on int32 values, so coordinates at the int32 limits cannot overflow.
// The result is non-empty and inside the clip, or nothing.
inline std::optional<PixelBox> clip_rect(const Rect& r, const PixelBox& clip) {
    const int32_t x0 = std::max(std::min(r.left, r.right), clip.x0);
    const int32_t x1 = std::min(std::max(r.left, r.right), clip.x1);
    const int32_t y0 = std::max(std::min(r.top, r.bottom), clip.y0);
    const int32_t y1 = std::min(std::max(r.top, r.bottom), clip.y1);
    if (x0 >= x1 || y0 >= y1) return std::nullopt;
    return PixelBox{x0, y0, x1, y1};
}

// Fill columns box.x0..x1-1 of rows box.y0..y1-1. The box came from a clip
// function, so the loop has no tests in it.
inline void fill_box(Surface& s, const PixelBox& box, uint32_t color) {
    assert(!box.empty() && box.x0 >= 0 && box.y0 >= 0 && box.x1 <= s.size().w && box.y1 <= s.size().h);
    if (box.x0 == 0 && box.x1 == s.size().w) {
        s.fill_rows(box.y0, box.y1, color);  // written when next looked at, or not at all if filled again
        return;
    }
    const auto width = static_cast<size_t>(box.x1 - box.x0);
    for (int32_t y = box.y0; y < box.y1; ++y) fill_row(s.row(y) + box.x0, width, color);
}

// Fill a rectangle; the right column and bottom row are outside it.
inline void fill_rect(Surface& s, const Rect& r, const PixelBox& clip, uint32_t color) {
    if (const auto box = clip_rect(r, clip)) fill_box(s, *box, color);
}

}  // namespace morlu::raster
