#include "blend_row.h"

#include <array>
#include <cstring>

#include "cpu_features.h"

namespace morlu::raster {
namespace {

void blend_portable(const CoverageBlock& b, uint32_t color) {
    for (size_t y = 0; y < b.rows; ++y) {
        uint32_t* out = b.out + y * b.out_stride;
        const uint8_t* coverage = b.coverage + y * b.coverage_stride;
        for (size_t i = 0; i < b.width; ++i) {
            if (coverage[i] == 255)
                out[i] = color;
            else if (coverage[i] != 0)
                out[i] = blend(out[i], color, coverage[i]);
        }
    }
}

#ifdef MORLU_X86_SIMD
// Eight pixels at a time with blend()'s arithmetic in 32-bit lanes, which is
// exact at coverage 0 and 255 too, so no pixel needs a test; the last few
// pixels of a row are loaded and stored under a mask, and eight pixels with
// no coverage are skipped.
__attribute__((target("avx2"))) __m256i blend8(__m256i bg, __m256i a, __m256i fg_rb, __m256i fg_g) {
    const __m256i na = _mm256_sub_epi32(_mm256_set1_epi32(255), a);
    const __m256i rb_mask = _mm256_set1_epi32(0xFF00FF), g_mask = _mm256_set1_epi32(0x00FF00);
    __m256i rb =
        _mm256_add_epi32(_mm256_mullo_epi32(_mm256_and_si256(bg, rb_mask), na),
                         _mm256_add_epi32(_mm256_mullo_epi32(fg_rb, a), _mm256_set1_epi32(0x800080)));
    __m256i g = _mm256_add_epi32(_mm256_mullo_epi32(_mm256_and_si256(bg, g_mask), na),
                                 _mm256_add_epi32(_mm256_mullo_epi32(fg_g, a), _mm256_set1_epi32(0x008000)));
    rb = _mm256_and_si256(
        _mm256_srli_epi32(_mm256_add_epi32(rb, _mm256_and_si256(_mm256_srli_epi32(rb, 8), rb_mask)), 8),
        rb_mask);
    g = _mm256_and_si256(
        _mm256_srli_epi32(_mm256_add_epi32(g, _mm256_and_si256(_mm256_srli_epi32(g, 8), g_mask)), 8), g_mask);
    return _mm256_or_si256(rb, g);
}

// The last 1..7 coverage bytes of a row as the low lanes of a 64-bit value.
// One 8-byte load where the block has eight bytes from `coverage` on (`after`)
// or eight ending with the row's last byte (`before` lie ahead of `coverage`
// in the block); the bytes beyond the row are shifted or masked away.
inline uint64_t load_coverage(const uint8_t* coverage, size_t count, size_t before, size_t after) {
    uint64_t eight = 0;
    if (after >= 8) {
        std::memcpy(&eight, coverage, 8);
        return eight & ((uint64_t{1} << (8 * count)) - 1);
    }
    if (before + count >= 8) {
        std::memcpy(&eight, coverage + count - 8, 8);
        return eight >> (8 * (8 - count));
    }
    for (size_t k = 0; k < count; ++k) eight |= uint64_t{coverage[k]} << (8 * k);
    return eight;
}

__attribute__((target("avx2"))) void blend_avx2(const CoverageBlock& block, uint32_t color) {
    // A local copy: stores of whole vectors may alias anything, and would
    // have the block's fields read again on every row.
    const CoverageBlock b = block;
    const __m256i fg_rb = _mm256_set1_epi32(static_cast<int>(color & 0xFF00FFu));
    const __m256i fg_g = _mm256_set1_epi32(static_cast<int>(color & 0x00FF00u));
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const size_t whole = b.width / 8 * 8, rest = b.width - whole;
    const __m256i tail = _mm256_cmpgt_epi32(_mm256_set1_epi32(static_cast<int>(rest)), lanes);
    for (size_t y = 0; y < b.rows; ++y) {
        uint32_t* out = b.out + y * b.out_stride;
        const uint8_t* coverage = b.coverage + y * b.coverage_stride;
        for (size_t i = 0; i < whole; i += 8) {
            uint64_t eight = 0;
            std::memcpy(&eight, coverage + i, 8);
            if (eight == 0) continue;
            const __m256i a = _mm256_cvtepu8_epi32(_mm_cvtsi64_si128(static_cast<long long>(eight)));
            auto* at = reinterpret_cast<__m256i*>(out + i);
            _mm256_storeu_si256(at, blend8(_mm256_loadu_si256(at), a, fg_rb, fg_g));
        }
        if (rest == 0) continue;
        const size_t before = y * b.coverage_stride + whole;
        const size_t after = (b.rows - 1 - y) * b.coverage_stride + b.width - whole;
        const uint64_t eight = load_coverage(coverage + whole, rest, before, after);
        if (eight == 0) continue;
        const __m256i a = _mm256_cvtepu8_epi32(_mm_cvtsi64_si128(static_cast<long long>(eight)));
        auto* at = reinterpret_cast<int*>(out + whole);
        _mm256_maskstore_epi32(at, tail, blend8(_mm256_maskload_epi32(at, tail), a, fg_rb, fg_g));
    }
}
#endif

}  // namespace

void blend_block(const CoverageBlock& block, uint32_t color) {
#ifdef MORLU_X86_SIMD
    if (cpu_features().avx2) {
        blend_avx2(block, color);
        return;
    }
#endif
    blend_portable(block, color);
}

std::span<const BlendVariant> blend_variants() {
    static const auto variants = std::to_array<BlendVariant>({
        {"portable", true, blend_portable},
#ifdef MORLU_X86_SIMD
        {"avx2", cpu_features().avx2, blend_avx2},
#endif
    });
    return variants;
}

}  // namespace morlu::raster
