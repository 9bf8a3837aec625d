// Blending a row of grey coverage into pixels in one colour: text's inner loop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace morlu::raster {

// out = bg + (fg - bg) * a / 255 per channel, rounded to nearest; a = 255
// gives the text colour exactly and a = 0 leaves the pixel. Red and blue share
// one multiply in 16-bit lanes; each lane's x / 255 is rounded as
// (t + (t >> 8)) >> 8 with t = x + 128, which equals the rounded quotient for
// every x up to 255 * 255.
inline uint32_t blend(uint32_t bg, uint32_t fg, uint32_t a) {
    const uint32_t na = 255 - a;
    uint32_t rb = (bg & 0xFF00FFu) * na + (fg & 0xFF00FFu) * a + 0x800080u;
    uint32_t g = (bg & 0x00FF00u) * na + (fg & 0x00FF00u) * a + 0x008000u;
    rb = ((rb + ((rb >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu;
    g = ((g + ((g >> 8) & 0x00FF00u)) >> 8) & 0x00FF00u;
    return rb | g;
}

// A block of coverage to blend: `rows` rows of `width` bytes, `coverage_stride`
// apart, onto pixels `out_stride` apart.
struct CoverageBlock {
    uint32_t* out = nullptr;
    size_t out_stride = 0;
    const uint8_t* coverage = nullptr;
    size_t coverage_stride = 0;
    size_t width = 0;
    size_t rows = 0;
};

// Blend the block in one colour with the widest vectors the processor has.
// Every way gives the same pixels as blend().
void blend_block(const CoverageBlock& block, uint32_t color);

// One way to blend a block, for the tests that hold every way against the
// portable loop on every machine.
struct BlendVariant {
    const char* name;
    bool available;  // the processor has what it needs
    void (*blend)(const CoverageBlock& block, uint32_t color);
};
// Every way this build has, the portable loop first.
std::span<const BlendVariant> blend_variants();

}  // namespace morlu::raster
