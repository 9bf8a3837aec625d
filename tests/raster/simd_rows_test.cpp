// Every way to fill and to blend a row, held against what the pixels must be
// on every machine: ways the processor lacks are skipped, the others run at
// each destination alignment in a 32-byte line and at lengths around the
// vector widths, with guard pixels either side of every run.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "platform/raster/blend_row.h"
#include "platform/raster/fill_row.h"

namespace morlu::raster {

// Test names and failures show a way by its name.
void PrintTo(const FillVariant& way, std::ostream* out) {
    *out << way.name;
}
void PrintTo(const BlendVariant& way, std::ostream* out) {
    *out << way.name;
}

namespace {

constexpr std::array<size_t, 22> LENGTHS{0,  1,  3,  4,  5,  7,  8,  9,  15, 16,  17,
                                         23, 24, 25, 31, 32, 33, 63, 64, 65, 100, 129};
constexpr size_t ALIGNMENTS = 8;  // pixels in 32 bytes
constexpr size_t GUARD = 8;       // pixels left alone before every run, and at least as many after

// Rows of pixels starting on a 32-byte boundary, each `stride` pixels, filled
// with a pattern the runs must leave alone outside themselves.
struct Rows {
    explicit Rows(size_t stride, size_t rows, uint32_t seed)
        : stride(stride), memory(stride * rows + ALIGNMENTS) {
        while (reinterpret_cast<uintptr_t>(memory.data() + first) % 32 != 0) ++first;
        std::mt19937 rng(seed);
        for (uint32_t& p : memory) p = rng() & 0xFFFFFF;
    }
    uint32_t* at(size_t row, size_t align) {
        return memory.data() + first + row * stride + GUARD + align;
    }
    size_t stride;
    size_t first = 0;
    std::vector<uint32_t> memory;
};

class FillRun : public ::testing::TestWithParam<FillVariant> {};

TEST_P(FillRun, WritesTheColourOnExactlyTheRun) {
    const FillVariant& way = GetParam();
    if (!way.available) GTEST_SKIP() << way.name << " is not on this processor";
    for (size_t align = 0; align < ALIGNMENTS; ++align) {
        for (const size_t n : LENGTHS) {
            Rows got(GUARD + ALIGNMENTS + n + GUARD, 1, static_cast<uint32_t>(n));
            Rows want = got;
            const uint32_t color = 0x123456u + static_cast<uint32_t>(n);
            for (size_t i = 0; i < n; ++i) want.at(0, align)[i] = color;
            way.fill(got.at(0, align), n, color);
            ASSERT_EQ(got.memory, want.memory) << way.name << ": alignment " << align << ", length " << n;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWay,
                         FillRun,
                         ::testing::ValuesIn(fill_variants().begin(), fill_variants().end()),
                         [](const auto& info) { return std::string(info.param.name); });

// Coverage a glyph could have: runs of nothing (eight pixels with none are
// skipped), runs of full cover, and edges in between.
std::vector<uint8_t> coverage_for(size_t size, std::mt19937& rng) {
    std::vector<uint8_t> coverage(size);
    for (uint8_t& c : coverage) {
        const auto pick = rng() % 4;
        c = pick == 0 ? 0 : pick == 1 ? 255 : static_cast<uint8_t>(rng() % 256);
    }
    if (size >= 8 && rng() % 2 == 0) std::fill_n(coverage.begin(), 8, 0);
    return coverage;
}

class BlendRows : public ::testing::TestWithParam<BlendVariant> {};

TEST_P(BlendRows, GiveThePixelsOfBlendOnExactlyTheBlock) {
    const BlendVariant& way = GetParam();
    if (!way.available) GTEST_SKIP() << way.name << " is not on this processor";
    std::mt19937 rng(5);
    for (size_t align = 0; align < ALIGNMENTS; ++align) {
        for (const size_t width : LENGTHS) {
            for (size_t rows = 1; rows <= 3; ++rows) {
                // Coverage rows packed or apart. The coverage is exactly the block's bytes,
                // so a read past them shows in the sanitizer build.
                const size_t coverage_stride = width + rng() % 3 * 3;
                const std::vector<uint8_t> coverage = coverage_for((rows - 1) * coverage_stride + width, rng);
                Rows got(GUARD + ALIGNMENTS + width + GUARD, rows, static_cast<uint32_t>(rng()));
                Rows want = got;
                const uint32_t color = rng() & 0xFFFFFF;
                for (size_t y = 0; y < rows; ++y)
                    for (size_t x = 0; x < width; ++x)
                        want.at(y, align)[x] =
                            blend(want.at(y, align)[x], color, coverage[y * coverage_stride + x]);
                way.blend({got.at(0, align), got.stride, coverage.data(), coverage_stride, width, rows},
                          color);
                ASSERT_EQ(got.memory, want.memory)
                    << way.name << ": alignment " << align << ", width " << width << ", rows " << rows;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWay,
                         BlendRows,
                         ::testing::ValuesIn(blend_variants().begin(), blend_variants().end()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace morlu::raster
