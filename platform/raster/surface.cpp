#include "surface.h"

#include <algorithm>
#include <cstring>

#include "fill_row.h"

namespace morlu::raster {

PixelBox unite(const PixelBox& a, const PixelBox& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

std::optional<PixelBox> intersect(const PixelBox& a, const PixelBox& b) {
    const PixelBox r{std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
    if (r.empty()) return std::nullopt;
    return r;
}

Surface::Surface(Size size, uint32_t fill)
    : size_{std::max(size.w, 0), std::max(size.h, 0)},
      pixels_(static_cast<size_t>(size_.w) * static_cast<size_t>(size_.h), fill),
      noted_(static_cast<size_t>(size_.h), 0),
      noted_color_(static_cast<size_t>(size_.h), 0) {
}

void Surface::write_noted_row(int32_t y) const {
    const auto at = static_cast<size_t>(y);
    fill_row(pixels_.data() + at * static_cast<size_t>(size_.w), static_cast<size_t>(size_.w),
             noted_color_[at]);
    noted_[at] = 0;
    --noted_count_;
}

void Surface::fill_rows(int32_t y0, int32_t y1, uint32_t color) {
    assert(y0 >= 0 && y1 <= size_.h);
    if (shared_) {
        for (int32_t y = y0; y < y1; ++y) fill_row(row(y), static_cast<size_t>(size_.w), color);
        return;
    }
    for (auto y = static_cast<size_t>(y0); y < static_cast<size_t>(y1); ++y) {
        noted_count_ += noted_[y] ? 0 : 1;
        noted_[y] = 1;
        noted_color_[y] = color;
    }
}

const uint32_t* Surface::pixels() const {
    for (int32_t y = 0; noted_count_ > 0 && y < size_.h; ++y) row(y);
    return pixels_.data();
}

uint32_t* Surface::shared_pixels() {
    pixels();
    shared_ = true;
    return pixels_.data();
}

void Surface::resize(Size size, uint32_t fill) {
    Surface next(size, fill);
    if (const auto common = intersect(bounds(), next.bounds())) copy_box(next, *this, *common);
    next.ellipse_spans_ = std::move(ellipse_spans_);
    *this = std::move(next);
}

namespace {

// `width` pixels of row sy of src, from column sx, to row dy of dst at column
// dx. A row filled whole and not yet written is one colour, so its copy is a
// fill, or a note of one when it covers dst's whole row: a frame's rows that
// hold only sky or ground reach the window without being written at all.
void copy_row(Surface& dst,
              int32_t dy,
              int64_t dx,
              const Surface& src,
              int32_t sy,
              int64_t sx,
              size_t width) {
    if (const auto color = src.noted_color(sy)) {
        if (dx == 0 && width == static_cast<size_t>(dst.size().w))
            dst.fill_rows(dy, dy + 1, *color);
        else
            fill_row(dst.row(dy) + dx, width, *color);
        return;
    }
    std::memmove(dst.row(dy) + dx, src.row(sy) + sx, width * sizeof(uint32_t));
}

}  // namespace

void copy_box(Surface& dst, const Surface& src, const PixelBox& box) {
    const auto clipped = intersect(box, intersect(dst.bounds(), src.bounds()).value_or(PixelBox{}));
    if (!clipped) return;
    const auto width = static_cast<size_t>(clipped->x1 - clipped->x0);
    for (int32_t y = clipped->y0; y < clipped->y1; ++y)
        copy_row(dst, y, clipped->x0, src, y, clipped->x0, width);
}

void copy_area(Surface& dst,
               const PixelBox& dst_clip,
               int32_t dx,
               int32_t dy,
               const Surface& src,
               int32_t sx,
               int32_t sy,
               int32_t w,
               int32_t h) {
    if (w <= 0 || h <= 0) return;
    // Work in 64 bits: the caller's coordinates may be anywhere in the int32 range.
    int64_t x0 = dx, y0 = dy, x1 = int64_t{dx} + w, y1 = int64_t{dy} + h;
    const int64_t ox = int64_t{sx} - dx, oy = int64_t{sy} - dy;  // destination to source offset
    const auto clip = intersect(dst_clip, dst.bounds());
    if (!clip) return;
    x0 = std::max({x0, int64_t{clip->x0}, -ox});
    y0 = std::max({y0, int64_t{clip->y0}, -oy});
    x1 = std::min({x1, int64_t{clip->x1}, int64_t{src.size().w} - ox});
    y1 = std::min({y1, int64_t{clip->y1}, int64_t{src.size().h} - oy});
    if (x0 >= x1 || y0 >= y1) return;
    const auto width = static_cast<size_t>(x1 - x0);
    for (int64_t y = y0; y < y1; ++y)
        copy_row(dst, static_cast<int32_t>(y), x0, src, static_cast<int32_t>(y + oy), x0 + ox, width);
}

void scroll_box(Surface& s, const PixelBox& box, int32_t dx, int32_t dy) {
    const auto inside = intersect(box, s.bounds());
    if (!inside) return;
    const int64_t w = inside->x1 - inside->x0, h = inside->y1 - inside->y0;
    if (int64_t{dx} >= w || -int64_t{dx} >= w || int64_t{dy} >= h || -int64_t{dy} >= h) return;
    // Rows are visited away from the direction of travel so none is read after it was overwritten.
    const int32_t rows = static_cast<int32_t>(h - (dy < 0 ? -dy : dy));
    const int32_t cols = static_cast<int32_t>(w - (dx < 0 ? -dx : dx));
    const int32_t src_x = inside->x0 + std::max(0, -dx), dst_x = inside->x0 + std::max(0, dx);
    for (int32_t i = 0; i < rows; ++i) {
        const int32_t k = dy > 0 ? rows - 1 - i : i;
        const int32_t src_y = inside->y0 + std::max(0, -dy) + k, dst_y = inside->y0 + std::max(0, dy) + k;
        std::memmove(s.row(dst_y) + dst_x, s.row(src_y) + src_x,
                     static_cast<size_t>(cols) * sizeof(uint32_t));
    }
}

}  // namespace morlu::raster
