#include "thin_line.h"

#include <algorithm>
#include <cstdlib>

#include "exact_math.h"

namespace morlu::raster {
namespace {

// Steps first..last, inclusive; empty when first > last.
struct StepRange {
    Int128 first = 0;
    Int128 last = -1;
};

// Far outside any int32 line, so it stands for "every step".
constexpr Int128 ANY_STEP = Int128{1} << 100;

// A line seen along its longer ("major") axis. Step k, 0 <= k < length, is at
// major + k * dir on that axis and at minor + offset(k) on the other, where
// offset(k) = ceil((2k*dm - length) / (2*length)) is k*dm/length rounded to the
// nearest integer with exact halves going down.
struct LineSteps {
    int64_t major = 0;
    int64_t minor = 0;
    int64_t dir = 1;     // +1 or -1 along the major axis
    int64_t length = 0;  // |d major|, at least |dm| and at least 1
    int64_t dm = 0;      // signed change along the minor axis

    // Lines on and near the surface keep every product below 2^62, where the
    // arithmetic can be done in 64 bits.
    static bool small(Int128 v) {
        constexpr Int128 LIMIT = Int128{1} << 29;
        return v < LIMIT && v > -LIMIT;
    }
    bool small_line() const {
        return small(length) && small(dm);
    }

    // The steps whose offset lies in j0..j1. The bounds come from solving
    // j - 1 < (2k*dm - length) / (2*length) <= j for k, so they hold for any j.
    StepRange steps_between(Int128 j0, Int128 j1) const {
        if (dm == 0) return (j0 <= 0 && 0 <= j1) ? StepRange{-ANY_STEP, ANY_STEP} : StepRange{};
        if (small_line() && small(j0) && small(j1))
            return steps_between_in<int64_t>(static_cast<int64_t>(j0), static_cast<int64_t>(j1));
        return steps_between_in<Int128>(j0, j1);
    }
    template <class Int>
    StepRange steps_between_in(Int j0, Int j1) const {
        const Int len = length, m = dm;
        if (m > 0)
            return {floor_quotient<Int>(len * (2 * j0 - 1), 2 * m) + 1,
                    floor_quotient<Int>(len * (2 * j1 + 1), 2 * m)};
        return {ceil_quotient<Int>(-len * (2 * j1 + 1), -2 * m),
                ceil_quotient<Int>(-len * (2 * j0 - 1), -2 * m) - 1};
    }

    // The steps whose major coordinate lies in lo..hi.
    StepRange steps_within(int64_t lo, int64_t hi) const {
        if (dir > 0) return {Int128{lo} - major, Int128{hi} - major};
        return {Int128{major} - hi, Int128{major} - lo};
    }
};

StepRange intersect_steps(const StepRange& a, const StepRange& b) {
    return {std::max(a.first, b.first), std::min(a.last, b.last)};
}

// The steps of `line` that land inside the clip: the line's own steps, cut by
// the clip's extent on the major axis and, through the offsets, on the minor.
// They are one after another and at most the clip's extent on the major axis
// in number, whatever the line's length, and each is a step of the line, so
// 0 <= first <= last < length.
StepRange visible_steps(const LineSteps& line,
                        int64_t major_lo,
                        int64_t major_hi,
                        int64_t minor_lo,
                        int64_t minor_hi) {
    StepRange k{0, line.length - 1};
    k = intersect_steps(k, line.steps_within(major_lo, major_hi));
    return intersect_steps(k,
                           line.steps_between(Int128{minor_lo} - line.minor, Int128{minor_hi} - line.minor));
}

// The offsets of a line's steps, one step after another, kept as the quotient
// and remainder of offset()'s division and stepped without dividing. Only the
// first offset of a long line needs 128 bits; the quotient and remainder fit
// in 64. A step moves the numerator by 2*dm, which is at most the
// denominator, so one correction keeps the remainder in range.
class OffsetWalk {
public:
    OffsetWalk(const LineSteps& line, int64_t k) : step_(2 * line.dm), denominator_(2 * line.length) {
        if (line.small_line() && LineSteps::small(k))
            start<int64_t>(line, k);
        else
            start<Int128>(line, k);
    }
    int64_t offset() const {
        return offset_;
    }
    void next() {
        remainder_ -= step_;
        if (remainder_ < 0) {
            ++offset_;
            remainder_ += denominator_;
        } else if (remainder_ >= denominator_) {
            --offset_;
            remainder_ -= denominator_;
        }
    }

private:
    template <class Int>
    void start(const LineSteps& line, Int k) {
        const Int numerator = 2 * k * Int{line.dm} - line.length;
        const Int offset = ceil_quotient<Int>(numerator, denominator_);
        offset_ = static_cast<int64_t>(offset);
        remainder_ = static_cast<int64_t>(offset * denominator_ - numerator);
    }

    int64_t step_, denominator_, offset_ = 0, remainder_ = 0;
};

// An x-major line: each row it visits holds one run of consecutive steps.
void draw_x_major(const SpanWriter& out, const LineSteps& line) {
    const PixelBox& c = out.clip();
    const StepRange k = visible_steps(line, c.x0, c.x1 - 1, c.y0, c.y1 - 1);
    if (k.first > k.last) return;
    const auto first = static_cast<int64_t>(k.first), last = static_cast<int64_t>(k.last);
    out.fill_runs_inside([&line, first, last](const auto& put) {
        OffsetWalk walk(line, first);
        for (int64_t run = first, step = first; step <= last; ++step) {
            const int64_t j = walk.offset();
            walk.next();
            if (step < last && walk.offset() == j) continue;  // the run goes on along this row
            const int64_t a = line.major + line.dir * run, b = line.major + line.dir * step;
            put(static_cast<int32_t>(line.minor + j), ColumnRange{std::min(a, b), std::max(a, b) + 1});
            run = step + 1;
        }
    });
}

// A y-major line: one pixel on each row it visits.
void draw_y_major(const SpanWriter& out, const LineSteps& line) {
    const PixelBox& c = out.clip();
    const StepRange k = visible_steps(line, c.y0, c.y1 - 1, c.x0, c.x1 - 1);
    if (k.first > k.last) return;
    const auto first = static_cast<int64_t>(k.first), last = static_cast<int64_t>(k.last);
    out.fill_runs_inside([&line, first, last](const auto& put) {
        OffsetWalk walk(line, first);
        for (int64_t i = first; i <= last; ++i, walk.next()) {
            const int64_t x = line.minor + walk.offset();
            put(static_cast<int32_t>(line.major + line.dir * i), ColumnRange{x, x + 1});
        }
    });
}

}  // namespace

void draw_thin_line(const SpanWriter& out, Point a, Point b) {
    const int64_t dx = int64_t{b.x} - a.x, dy = int64_t{b.y} - a.y;
    if (dx == 0 && dy == 0) return;
    if (std::abs(dx) >= std::abs(dy)) {
        draw_x_major(out, {a.x, a.y, dx > 0 ? 1 : -1, std::abs(dx), dy});
    } else {
        draw_y_major(out, {a.y, a.x, dy > 0 ? 1 : -1, std::abs(dy), dx});
    }
}

}  // namespace morlu::raster
