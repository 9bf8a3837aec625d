// Exact integer arithmetic for scan conversion. Coordinates are int32, so a
// difference needs 33 bits and a product of two differences about 66: those
// products are computed in 128 bits, where they cannot overflow.
#pragma once

#include <cassert>
#include <cstdint>

namespace morlu::raster {

using Int128 = __int128;

// The quotient a / b rounded toward minus infinity, worked in Int (int64_t,
// or Int128 for values that may not fit 64 bits: 64-bit division is several
// times cheaper); b must be positive.
template <class Int>
Int floor_quotient(Int a, Int b) {
    assert(b > 0);
    const Int q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

// The quotient a / b rounded toward plus infinity; b must be positive.
template <class Int>
Int ceil_quotient(Int a, Int b) {
    return -floor_quotient<Int>(-a, b);
}

inline Int128 floor_div(Int128 a, Int128 b) {
    return floor_quotient<Int128>(a, b);
}

inline Int128 ceil_div(Int128 a, Int128 b) {
    return ceil_quotient<Int128>(a, b);
}

inline int64_t floor_div64(int64_t a, int64_t b) {
    return floor_quotient<int64_t>(a, b);
}

inline int64_t ceil_div64(int64_t a, int64_t b) {
    return ceil_quotient<int64_t>(a, b);
}

}  // namespace morlu::raster
