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

    // Lines on and near the surface keep every product below 2^62, where a
    // 64-bit division gives the same quotient far more cheaply.
    static bool small(Int128 v) {
        constexpr Int128 LIMIT = Int128{1} << 29;
        return v < LIMIT && v > -LIMIT;
    }
    bool small_line() const {
        return small(length) && small(dm);
    }

    Int128 offset(Int128 k) const {
        if (small_line() && small(k)) {
            const auto k64 = static_cast<int64_t>(k);
            return ceil_div64(2 * k64 * dm - length, 2 * length);
        }
        return ceil_div(2 * k * dm - length, 2 * Int128{length});
    }

    // The steps whose offset lies in j0..j1. The bounds come from solving
    // j - 1 < (2k*dm - length) / (2*length) <= j for k, so they hold for any j.
    StepRange steps_between(Int128 j0, Int128 j1) const {
        if (dm == 0) return (j0 <= 0 && 0 <= j1) ? StepRange{-ANY_STEP, ANY_STEP} : StepRange{};
        if (small_line() && small(j0) && small(j1)) {
            const int64_t j0s = static_cast<int64_t>(j0), j1s = static_cast<int64_t>(j1);
            if (dm > 0)
                return {floor_div64(length * (2 * j0s - 1), 2 * dm) + 1,
                        floor_div64(length * (2 * j1s + 1), 2 * dm)};
            return {ceil_div64(-length * (2 * j1s + 1), -2 * dm),
                    ceil_div64(-length * (2 * j0s - 1), -2 * dm) - 1};
        }
        const Int128 len = length;
        if (dm > 0)
            return {floor_div(len * (2 * j0 - 1), 2 * Int128{dm}) + 1,
                    floor_div(len * (2 * j1 + 1), 2 * Int128{dm})};
        const Int128 e = -Int128{dm};
        return {ceil_div(-len * (2 * j1 + 1), 2 * e), ceil_div(-len * (2 * j0 - 1), 2 * e) - 1};
    }

    // The steps whose major coordinate lies in lo..hi.
    StepRange steps_within(int64_t lo, int64_t hi) const {
        if (dir > 0) return {Int128{lo} - major, Int128{hi} - major};
        return {Int128{major} - hi, Int128{major} - lo};
    }

    // Major coordinates of steps k0..k1 as a column range.
    ColumnRange major_columns(Int128 k0, Int128 k1) const {
        const Int128 a = major + dir * k0, b = major + dir * k1;
        return {static_cast<int64_t>(std::min(a, b)), static_cast<int64_t>(std::max(a, b)) + 1};
    }
};

StepRange intersect_steps(const StepRange& a, const StepRange& b) {
    return {std::max(a.first, b.first), std::min(a.last, b.last)};
}

// The steps of `line` that land inside the clip: the line's own steps, cut by
// the clip's extent on the major axis and, through the offsets, on the minor.
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

// The offsets of a small line's steps, one step after another, kept as the
// quotient and remainder of offset()'s division and stepped without dividing.
// A step moves the numerator by 2*dm, which is at most the denominator, so
// one correction keeps the remainder in range.
class OffsetWalk {
public:
    OffsetWalk(const LineSteps& line, int64_t k) : step_(2 * line.dm), denominator_(2 * line.length) {
        const int64_t numerator = 2 * k * line.dm - line.length;
        offset_ = ceil_div64(numerator, denominator_);
        remainder_ = offset_ * denominator_ - numerator;
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
    int64_t step_, denominator_, offset_ = 0, remainder_ = 0;
};

// Whether the visible steps of `line` can be walked in 64 bits.
bool walkable(const LineSteps& line, const StepRange& k) {
    return line.small_line() && LineSteps::small(k.first) && LineSteps::small(k.last);
}

// An x-major line: each row it visits holds one run of consecutive steps.
void draw_x_major(const SpanWriter& out, const LineSteps& line) {
    const PixelBox& c = out.clip();
    const StepRange k = visible_steps(line, c.x0, c.x1 - 1, c.y0, c.y1 - 1);
    if (k.first > k.last) return;
    if (walkable(line, k)) {
        const SpanWriter writer = out;  // a local copy: filling a run cannot change it
        const auto first = static_cast<int64_t>(k.first), last = static_cast<int64_t>(k.last);
        OffsetWalk walk(line, first);
        for (int64_t run = first, step = first; step <= last; ++step) {
            const int64_t j = walk.offset();
            walk.next();
            if (step < last && walk.offset() == j) continue;  // the run goes on along this row
            const int64_t a = line.major + line.dir * run, b = line.major + line.dir * step;
            writer.fill_inside(static_cast<int32_t>(line.minor + j), {std::min(a, b), std::max(a, b) + 1});
            run = step + 1;
        }
        return;
    }
    const Int128 j_first = line.offset(k.first), j_last = line.offset(k.last);
    const Int128 dj = j_last >= j_first ? 1 : -1, rows = (j_last - j_first) * dj + 1;
    for (Int128 n = 0; n < rows; ++n) {
        const Int128 j = j_first + n * dj;
        const StepRange run = intersect_steps(k, line.steps_between(j, j));
        out.fill(static_cast<int32_t>(line.minor + j), line.major_columns(run.first, run.last));
    }
}

// A y-major line: one pixel on each row it visits.
void draw_y_major(const SpanWriter& out, const LineSteps& line) {
    const PixelBox& c = out.clip();
    const StepRange k = visible_steps(line, c.y0, c.y1 - 1, c.x0, c.x1 - 1);
    if (k.first > k.last) return;
    if (walkable(line, k)) {
        const SpanWriter writer = out;  // a local copy: filling a pixel cannot change it
        OffsetWalk walk(line, static_cast<int64_t>(k.first));
        for (auto i = static_cast<int64_t>(k.first); i <= static_cast<int64_t>(k.last); ++i, walk.next()) {
            const int64_t x = line.minor + walk.offset();
            writer.fill_inside(static_cast<int32_t>(line.major + line.dir * i), {x, x + 1});
        }
        return;
    }
    for (Int128 i = k.first; i <= k.last; ++i) {
        const int64_t x = static_cast<int64_t>(line.minor + line.offset(i));
        out.fill(static_cast<int32_t>(line.major + line.dir * i), {x, x + 1});
    }
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
