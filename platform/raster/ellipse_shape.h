// The platform's ellipse: which pixels of each row it holds, and the path its
// wide outline follows.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "ellipse_rows.h"
#include "polygon_fill.h"
#include "spans.h"

namespace morlu::raster {

// The ellipse inscribed in the w x h pixels at (l, t), as the platform builds
// it. Boxes of one or two pixels across are the whole box. Larger ones come
// from the platform's incremental walk round a quadrant of the curve through
// the box's outer pixel centres (see ellipse_shape.cpp), which leaves out the
// tips of long thin ellipses. Boxes beyond what the walk traces cheaply take
// the rows of EllipseRows, which differ from the walk by a pixel here and
// there.
class EllipseShape {
public:
    // w and h at least 1; 64-bit because pens grow boxes past int32.
    EllipseShape(int64_t l, int64_t t, int64_t w, int64_t h);

    int64_t top() const {
        return t_;
    }
    int64_t bottom() const {
        return t_ + h_;
    }
    // The rows of a walked ellipse as plain values, for loops that fill row
    // after row: a copy kept in the loop need not be read again after each run
    // is filled. Null extents for the other ellipses, which have only row().
    struct WalkedRows {
        int64_t l, t, w, h;
        const int64_t* extent;
        ColumnRange row(int64_t y) const {
            const int64_t twice = 2 * (y - t) - (h - 1);
            const int64_t u = extent[static_cast<uint64_t>(twice < 0 ? -twice : twice) / 2];
            if (u < 0) return {};
            const auto a = static_cast<uint64_t>(w - 1);
            return {l + static_cast<int64_t>((a - static_cast<uint64_t>(u)) / 2),
                    l + static_cast<int64_t>((a + static_cast<uint64_t>(u)) / 2) + 1};
        }
    };
    WalkedRows walked_rows() const {
        return {l_, t_, w_, h_, extent_ ? extent_->data() : nullptr};
    }
    // The ellipse's columns on row y; empty outside it and on left-out rows.
    // Inline for the walked ellipses, whose rows every shape reads one by one.
    ColumnRange row(int64_t y) const {
        if (y < t_ || y >= t_ + h_) return {};
        if (!extent_) return other_row(y);
        return walked_rows().row(y);
    }
    // Whether path() is available: the walk was traced.
    bool traced() const {
        return !large_.has_value();
    }
    // The outline's path: the walk's pixels in order round the ellipse,
    // consecutive duplicates dropped. Thin boxes give their rectangle's path.
    std::vector<Vertex> path() const;

private:
    // Calls visit(u, v) for each pixel of the walk round the top right
    // quadrant, in order: u is twice the column offset from the centre, v
    // twice the row offset, up.
    template <class Visit>
    void walk_quadrant(Visit&& visit) const;
    // row() for thin and for large boxes.
    ColumnRange other_row(int64_t y) const;

    int64_t l_ = 0;
    int64_t t_ = 0;
    int64_t w_ = 0;
    int64_t h_ = 0;
    // The row widths of a w x h walk, which depend on nothing else.
    using Extents = std::vector<int64_t>;
    // Per row offset v (in steps of two from the centre row): the half width
    // u of the row, or -1 for a row the walk leaves out. Shared by every
    // ellipse of the same size (a frame draws the same sizes again and again).
    std::shared_ptr<const Extents> extent_;
    std::shared_ptr<const Extents> walk_extents() const;
    std::optional<EllipseRows> large_;
};

}  // namespace morlu::raster
