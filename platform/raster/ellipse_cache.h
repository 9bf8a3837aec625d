// The rows of walked ellipses by size, kept by the surface they are drawn on:
// a frame draws the same few sizes again and again, and walking an ellipse
// costs more than filling it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace morlu::raster {

// A walked ellipse's columns on one row, from its box's left edge; both 0 on
// a row the walk leaves out. Walked boxes are at most 8192 across.
struct EllipseRowSpan {
    uint16_t x0, x1;
};
using EllipseSpans = std::vector<EllipseRowSpan>;

// Bounded: SLOTS sizes at most, one per slot, and ROW_BUDGET rows in all; a
// size that would go past the budget empties the cache first. Spans handed
// out stay alive while an ellipse holds them, whatever the cache does.
class EllipseSpanCache {
public:
    static constexpr size_t SLOTS = 256;
    static constexpr size_t ROW_BUDGET = size_t{1} << 16;  // 256 KB of spans

    EllipseSpanCache() = default;
    // What a cache holds belongs to its own surface: a copy starts empty, and
    // a surface assigned to keeps what it had.
    EllipseSpanCache(const EllipseSpanCache&) {
    }
    EllipseSpanCache& operator=(const EllipseSpanCache&) {
        return *this;
    }
    EllipseSpanCache(EllipseSpanCache&&) noexcept = default;
    EllipseSpanCache& operator=(EllipseSpanCache&&) noexcept = default;
    ~EllipseSpanCache() = default;

    // The spans of the w x h walk: kept ones, or the ones `make()` gives, kept.
    template <class Make>
    std::shared_ptr<const EllipseSpans> find_or_make(int64_t w, int64_t h, const Make& make) {
        if (slots_.empty()) slots_.resize(SLOTS);
        // The top bits of a multiplicative hash spread even sizes and circles (w == h) too.
        const uint64_t key =
            static_cast<uint64_t>(w) * 0x9E3779B97F4A7C15u ^ static_cast<uint64_t>(h) * 0xC2B2AE3D27D4EB4Fu;
        Entry& e = slots_[static_cast<size_t>(key >> 56)];
        if (e.spans && e.w == w && e.h == h) return e.spans;
        std::shared_ptr<const EllipseSpans> spans = make();
        keep(e, w, h, spans);
        return spans;
    }
    // Rows held in all, never more than ROW_BUDGET.
    size_t rows_kept() const {
        return rows_;
    }

private:
    struct Entry {
        int64_t w = 0, h = 0;
        std::shared_ptr<const EllipseSpans> spans;
    };
    void keep(Entry& e, int64_t w, int64_t h, std::shared_ptr<const EllipseSpans> spans) {
        if (e.spans) rows_ -= e.spans->size();
        e = {};
        if (spans->size() > ROW_BUDGET) return;
        if (rows_ + spans->size() > ROW_BUDGET) {
            for (Entry& other : slots_) other = {};
            rows_ = 0;
        }
        rows_ += spans->size();
        e = {w, h, std::move(spans)};
    }

    std::vector<Entry> slots_;  // SLOTS of them from the first ellipse on
    size_t rows_ = 0;
};

}  // namespace morlu::raster
