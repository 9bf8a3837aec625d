// Arithmetic on the bug table's 32-bit fields that stops at the 32-bit limits
// instead of overflowing: speeds have no upper bound and flyers climb forever.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

// a + b, held at INT32_MIN or INT32_MAX when the exact sum lies beyond them.
inline int32_t add_saturated(int32_t a, int64_t b) {
    constexpr int64_t LOW = std::numeric_limits<int32_t>::min();
    constexpr int64_t HIGH = std::numeric_limits<int32_t>::max();
    // b comes from a 32-bit value or a small constant, so the 64-bit sum is exact.
    return static_cast<int32_t>(std::clamp(static_cast<int64_t>(a) + b, LOW, HIGH));
}
