// Filling a run of pixels with one colour: where most of a frame's time goes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "cpu_features.h"

namespace morlu::raster {

// Runs this long or longer go to the widest stores the processor has; shorter
// ones are cheaper as a plain loop than as a call.
constexpr size_t LONG_RUN = 32;

// The ways to fill a run of any length; long_run_fill() picks one.
void fill_portable(uint32_t* p, size_t n, uint32_t color);
#ifdef MORLU_X86_SIMD
void fill_avx2(uint32_t* p, size_t n, uint32_t color);  // only where cpu_features().avx2
#endif

// How to fill a long run on this processor: the widest stores it has.
using LongRunFill = void (*)(uint32_t* p, size_t n, uint32_t color);
inline LongRunFill long_run_fill() {
#ifdef MORLU_X86_SIMD
    if (cpu_features().avx2) return fill_avx2;
#endif
    return fill_portable;
}

// Fill a run, long ones with `fill_long`: a caller that fills many runs
// reads long_run_fill() once and keeps it.
inline void fill_row_with(LongRunFill fill_long, uint32_t* p, size_t n, uint32_t color) {
    if (n >= LONG_RUN) {
        fill_long(p, n, color);
        return;
    }
#if defined(__SSE2__)
    // Every x86-64 processor has 16-byte stores: four pixels a store, the
    // last store ending at the run's end and overlapping the one before.
    if (n >= 4) {
        const __m128i v = _mm_set1_epi32(static_cast<int>(color));
        for (size_t i = 0; i + 4 < n; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), v);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + n - 4), v);
        return;
    }
#endif
    for (size_t i = 0; i < n; ++i) p[i] = color;
}

inline void fill_row(uint32_t* p, size_t n, uint32_t color) {
    fill_row_with(long_run_fill(), p, n, color);
}

// One way to fill a run, any length, for the tests that hold every way
// against the portable loop on every machine.
struct FillVariant {
    const char* name;
    bool available;  // the processor has what it needs
    void (*fill)(uint32_t* p, size_t n, uint32_t color);
};
// Every way this build has, the portable loop first; fill_row is one of them.
std::span<const FillVariant> fill_variants();

}  // namespace morlu::raster
