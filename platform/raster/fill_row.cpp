#include "fill_row.h"

#include <algorithm>
#include <array>

namespace morlu::raster {

void fill_portable(uint32_t* p, size_t n, uint32_t color) {
    std::fill_n(p, n, color);
}

#ifdef MORLU_X86_SIMD
// 32-byte stores; every x86-64 processor since about 2013 has them, and the
// build still runs on those without (see long_run_fill).
__attribute__((target("avx2"))) void fill_avx2(uint32_t* p, size_t n, uint32_t color) {
    if (n < 8) {  // shorter than one store: never asked for by fill_row, but safe
        fill_portable(p, n, color);
        return;
    }
    const __m256i v = _mm256_set1_epi32(static_cast<int>(color));
    // One store for the first pixels, then stores on 32-byte boundaries, so
    // that none of them straddles two cache lines. Pixels are 4-byte aligned,
    // so the head is 0..7 pixels, all inside the run.
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
    size_t i = (32 - (reinterpret_cast<uintptr_t>(p) & 31)) / 4 % 8;
    for (; i + 32 <= n; i += 32) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + i), v);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + i + 8), v);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + i + 16), v);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + i + 24), v);
    }
    for (; i + 8 <= n; i += 8) _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + i), v);
    // The last pixels: one store ending at the run's end, overlapping the ones before.
    if (i < n) _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + n - 8), v);
}
#endif

std::span<const FillVariant> fill_variants() {
    static const auto variants = std::to_array<FillVariant>({
        {"portable", true, fill_portable},
        {"fill_row", true, fill_row},
#ifdef MORLU_X86_SIMD
        {"avx2", cpu_features().avx2, fill_avx2},
#endif
    });
    return variants;
}

}  // namespace morlu::raster
