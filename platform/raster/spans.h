// Horizontal runs of one colour: the one place where shapes write pixels.
// Shapes work out which rows of the clip box they cover and, for each row,
// which columns; the writer cuts the columns to the clip and fills them.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <optional>

#include "fill_row.h"
#include "surface.h"

namespace morlu::raster {

// Rows y0..y1-1 of a clip box.
struct RowRange {
    int32_t y0 = 0;
    int32_t y1 = 0;
};

// Columns x0..x1-1 of one row, in 64 bits because shapes may reach past int32.
// Empty when x0 >= x1.
struct ColumnRange {
    int64_t x0 = 0;
    int64_t x1 = 0;
    bool empty() const {
        return x0 >= x1;
    }
};

// The columns both ranges share; empty if either is.
inline ColumnRange overlap(const ColumnRange& a, const ColumnRange& b) {
    return {std::max(a.x0, b.x0), std::min(a.x1, b.x1)};
}

// The rows top..bottom-1 (any int64 values) that are rows of `clip`, or nothing.
inline std::optional<RowRange> visible_rows(int64_t top, int64_t bottom, const PixelBox& clip) {
    const int64_t y0 = std::max<int64_t>(top, clip.y0);
    const int64_t y1 = std::min<int64_t>(bottom, clip.y1);
    if (y0 >= y1) return std::nullopt;
    return RowRange{static_cast<int32_t>(y0), static_cast<int32_t>(y1)};
}

// The part of a caller's clip box that lies on the surface: every shape
// starts here, so the writers below only ever see boxes inside the surface.
inline std::optional<PixelBox> surface_clip(const Surface& s, const PixelBox& clip) {
    return intersect(clip, s.bounds());
}

// Fills runs of one colour, cut to a clip box inside the surface. The colour
// and the clip are fixed once, so each run is one fill_row.
//
// The loops that write run after run live here. Each works on a copy of the
// writer (and of the caller's rows) made once where it starts: a run is
// filled through a pointer that, as far as the compiler knows, may point at
// anything the caller can reach, so the fields of a writer held by reference
// would be read again after every run; a copy nobody else can reach stays in
// registers.
class SpanWriter {
public:
    SpanWriter(Surface& s, const PixelBox& clip, uint32_t color)
        : surface_(&s), clip_(clip), color_(color), fill_long_(long_run_fill()) {
        assert(!clip.empty() && clip.x0 >= 0 && clip.y0 >= 0);
        assert(clip.x1 <= s.size().w && clip.y1 <= s.size().h);
    }

    const PixelBox& clip() const {
        return clip_;
    }
    Surface& surface() const {
        return *surface_;
    }

    // Fill the columns of `cols` that lie in the clip, on row y of the clip.
    void fill(int32_t y, const ColumnRange& cols) const {
        assert(y >= clip_.y0 && y < clip_.y1);
        const int64_t x0 = std::max<int64_t>(cols.x0, clip_.x0);
        const int64_t x1 = std::min<int64_t>(cols.x1, clip_.x1);
        if (x0 < x1) fill_row_with(fill_long_, surface_->row(y) + x0, static_cast<size_t>(x1 - x0), color_);
    }

    // Fill rows.y0..y1-1 of the clip with the columns `cols(y)` gives for each
    // row, called once per row, top to bottom (it may keep state). Every run
    // lies within `extent`: a shape within the clip's columns, as most are,
    // has runs that need no cutting.
    template <class Columns>
    void fill_rows(const RowRange& rows, const ColumnRange& extent, const Columns& cols) const {
        const SpanWriter writer = *this;
        Columns columns = cols;
        if (extent.x0 >= clip_.x0 && extent.x1 <= clip_.x1) {
            for (int32_t y = rows.y0; y < rows.y1; ++y) writer.fill_inside(y, columns(y));
            return;
        }
        for (int32_t y = rows.y0; y < rows.y1; ++y) writer.fill(y, columns(y));
    }

    // Runs the caller has cut to the clip itself, as the steps of a line
    // found inside the clip are: `walk(put)` calls put(y, cols) for each run,
    // in any order, and nothing is cut.
    template <class Walk>
    void fill_runs_inside(const Walk& walk) const {
        const SpanWriter writer = *this;
        walk([&writer](int32_t y, const ColumnRange& cols) { writer.fill_inside(y, cols); });
    }

private:
    void fill_inside(int32_t y, const ColumnRange& cols) const {
        assert(y >= clip_.y0 && y < clip_.y1 && cols.x0 >= clip_.x0 && cols.x1 <= clip_.x1);
        fill_row_with(fill_long_, surface_->row(y) + cols.x0, static_cast<size_t>(cols.x1 - cols.x0), color_);
    }

    Surface* surface_ = nullptr;
    PixelBox clip_;
    uint32_t color_ = 0;
    LongRunFill fill_long_;  // the processor check, read once per writer
};

}  // namespace morlu::raster
