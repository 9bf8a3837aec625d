// The platform's ellipse: which pixels of each row it holds, and the path its
// wide outline follows.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "ellipse_cache.h"
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
    // w and h at least 1; 64-bit because pens grow boxes past int32. The
    // rows of a walk come from `cache` when it has the size.
    EllipseShape(int64_t l, int64_t t, int64_t w, int64_t h, EllipseSpanCache& cache);

    int64_t top() const {
        return t_;
    }
    int64_t bottom() const {
        return t_ + h_;
    }
    int64_t left() const {
        return l_;
    }
    int64_t right() const {
        return l_ + w_;
    }
    // The ellipse's columns on row y; empty outside it and on left-out rows.
    // Inline for the walked ellipses, whose rows every shape reads one by one.
    ColumnRange row(int64_t y) const {
        if (y < t_ || y >= t_ + h_) return {};
        if (!spans_) return other_row(y);
        return WalkedRows{l_, t_, spans_->data()}(y);
    }
    // Fill `rows` (rows of the ellipse) through `out`, each row's columns
    // given by row().
    void fill(const SpanWriter& out, const RowRange& rows) const;
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
    // The rows of a walked ellipse as plain values, which a span writer's
    // loop copies and keeps in registers.
    struct WalkedRows {
        int64_t l, t;
        const EllipseRowSpan* spans;
        ColumnRange operator()(int64_t y) const {
            const EllipseRowSpan s = spans[y - t];
            return {l + s.x0, l + s.x1};
        }
    };

    int64_t l_ = 0;
    int64_t t_ = 0;
    int64_t w_ = 0;
    int64_t h_ = 0;
    // The row spans of a w x h walk, which depend on nothing else; shared by
    // every ellipse of the same size drawn on a surface.
    std::shared_ptr<const EllipseSpans> spans_;
    std::shared_ptr<const EllipseSpans> walk_spans() const;
    std::optional<EllipseRows> large_;
};

}  // namespace morlu::raster
