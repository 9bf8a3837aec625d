// What the processor can do beyond the build's baseline, checked once: the
// one check every choice between a portable loop and a wider one reads.
#pragma once

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
// The build can compile AVX2 functions, to be called only where the processor has it.
#define MORLU_X86_SIMD 1
#endif

namespace morlu::raster {

struct CpuFeatures {
    bool avx2 = false;  // 32-byte integer vectors
};

// Checked on the first call, from whichever thread makes it, never during
// static initialisation; the same answer for the rest of the run.
inline const CpuFeatures& cpu_features() {
    static const CpuFeatures features = [] {
        CpuFeatures f;
#ifdef MORLU_X86_SIMD
        __builtin_cpu_init();
        f.avx2 = __builtin_cpu_supports("avx2");
#endif
        return f;
    }();
    return features;
}

}  // namespace morlu::raster
