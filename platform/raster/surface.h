// Pixel surfaces: the memory every window and bitmap draws into.
#pragma once

#include <cassert>
#include <cstdint>
#include <optional>
#include <vector>

#include "ellipse_cache.h"

namespace morlu::raster {

// A width and a height in pixels, never negative.
struct Size {
    int32_t w = 0;
    int32_t h = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// A half-open box of pixels: columns x0..x1-1, rows y0..y1-1. Boxes handed to
// span writers come from a clip function, so they are non-empty and inside
// the surface they are used on.
struct PixelBox {
    int32_t x0 = 0;
    int32_t y0 = 0;
    int32_t x1 = 0;
    int32_t y1 = 0;
    bool empty() const {
        return x0 >= x1 || y0 >= y1;
    }
    friend bool operator==(const PixelBox&, const PixelBox&) = default;
};

// The smallest box holding both; an empty box adds nothing.
PixelBox unite(const PixelBox& a, const PixelBox& b);
// The common part of two boxes, or nothing.
std::optional<PixelBox> intersect(const PixelBox& a, const PixelBox& b);

// 32-bit 0x00RRGGBB pixels, rows top to bottom with no padding.
//
// A fill of whole rows is only noted, and each row is written when it is
// next read or drawn on: a frame fills the sky and then the ground over half
// of it, and the rows the ground fills again are written once, not twice.
// Every way to the pixels goes through row(), rows() or pixels(), which write
// the noted rows first, so nothing can see the difference but the time. What
// they return is good until the surface is next drawn on or resized: take it
// where it is used. A display service that keeps the memory and reads it
// later takes it from shared_pixels(), after which every fill is written at
// once, so that memory always holds the pixels.
class Surface {
public:
    Surface() = default;
    explicit Surface(Size size, uint32_t fill = 0);

    Size size() const {
        return size_;
    }
    PixelBox bounds() const {
        return {0, 0, size_.w, size_.h};
    }
    uint32_t* row(int32_t y) {
        assert(y >= 0 && y < size_.h);
        if (noted_[static_cast<size_t>(y)]) write_noted_row(y);
        return pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(size_.w);
    }
    const uint32_t* row(int32_t y) const {
        assert(y >= 0 && y < size_.h);
        if (noted_[static_cast<size_t>(y)]) write_noted_row(y);
        return pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(size_.w);
    }
    // Rows y0..y1-1, one after another at the surface's width, as one block.
    uint32_t* rows(int32_t y0, int32_t y1) {
        assert(y0 >= 0 && y0 < y1 && y1 <= size_.h);
        for (int32_t y = y0 + 1; y < y1; ++y) row(y);
        return row(y0);
    }
    // All the pixels as one block, every row written: for reading them now.
    const uint32_t* pixels() const;
    // All the pixels as one block for a display service that reads the memory
    // itself whenever it likes: from now on fills are written at once, not
    // noted. The block stays the surface's pixels until the surface is
    // resized, assigned to or destroyed; a resized surface notes fills again.
    uint32_t* shared_pixels();
    uint32_t& at(int32_t x, int32_t y) {
        assert(x >= 0 && x < size_.w);
        return row(y)[x];
    }
    uint32_t at(int32_t x, int32_t y) const {
        assert(x >= 0 && x < size_.w);
        return row(y)[x];
    }
    // Fill rows y0..y1-1 of the surface's full width with one colour: noted,
    // or written at once once the memory is shared.
    void fill_rows(int32_t y0, int32_t y1, uint32_t color);
    // The colour of row y when it was filled whole and is not yet written.
    std::optional<uint32_t> noted_color(int32_t y) const {
        assert(y >= 0 && y < size_.h);
        if (!noted_[static_cast<size_t>(y)]) return std::nullopt;
        return noted_color_[static_cast<size_t>(y)];
    }
    // Change the size; pixels that stay inside keep their values, new ones get `fill`.
    void resize(Size size, uint32_t fill = 0);
    // The rows of the ellipse sizes drawn on this surface lately, freed with it.
    EllipseSpanCache& ellipse_spans() {
        return ellipse_spans_;
    }

private:
    void write_noted_row(int32_t y) const;

    Size size_;
    // Written lazily by const readers too: a noted row's pixels are already
    // its colour as far as anyone can tell.
    mutable std::vector<uint32_t> pixels_;
    mutable std::vector<uint8_t> noted_;  // per row: filled, not yet written
    std::vector<uint32_t> noted_color_;   // per row: the colour it was filled with
    mutable int32_t noted_count_ = 0;
    bool shared_ = false;  // shared_pixels() handed out: no more notes
    EllipseSpanCache ellipse_spans_;
};

// Copy `box` of `src` to the same place in `dst`, clipped to both.
void copy_box(Surface& dst, const Surface& src, const PixelBox& box);
// Copy the w x h pixels at (sx, sy) of `src` to (dx, dy) of `dst`, clipped to
// both surfaces and to `dst_clip`. Any int32 arguments are safe.
void copy_area(Surface& dst,
               const PixelBox& dst_clip,
               int32_t dx,
               int32_t dy,
               const Surface& src,
               int32_t sx,
               int32_t sy,
               int32_t w,
               int32_t h);
// Move the pixels inside `box` by (dx, dy); pixels uncovered inside the box keep
// their old values, pixels that would leave the box are dropped.
void scroll_box(Surface& s, const PixelBox& box, int32_t dx, int32_t dy);

}  // namespace morlu::raster
