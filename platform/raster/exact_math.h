// Exact integer arithmetic for scan conversion. Coordinates are int32, so a
// difference needs 33 bits and a product of two differences about 66: those
// products are computed in 128 bits, where they cannot overflow.
#pragma once

#include <cassert>
#include <cstdint>

namespace morlu::raster {

using Int128 = __int128;

// The quotient a / b rounded toward minus infinity; b must be positive.
inline Int128 floor_div(Int128 a, Int128 b) {
    assert(b > 0);
    const Int128 q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

// The quotient a / b rounded toward plus infinity; b must be positive.
inline Int128 ceil_div(Int128 a, Int128 b) {
    return -floor_div(-a, b);
}

// floor_div and ceil_div for values known to fit in 64 bits, where division
// is several times cheaper than in 128.
inline int64_t floor_div64(int64_t a, int64_t b) {
    assert(b > 0);
    const int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

inline int64_t ceil_div64(int64_t a, int64_t b) {
    return -floor_div64(-a, b);
}

}  // namespace morlu::raster
