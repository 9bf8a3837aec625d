#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <random>

#include "raster_picture.h"

namespace morlu::raster::testing {
namespace {

std::string line(Size size, Point a, Point b, int32_t width = 1) {
    return draw_picture(size, RED, [&](Surface& s) { draw_line(s, s.bounds(), a, b, red_pen(width)); });
}

// The one-pixel rule evaluated pixel by pixel, as the rule states it: for each
// column (x-major) or row (y-major) of the surface, the step that lands there.
std::string rule_line(Size size, Point a, Point b) {
    Surface s(size, WHITE);
    const int64_t dx = int64_t{b.x} - a.x, dy = int64_t{b.y} - a.y;
    const bool x_major = std::abs(dx) >= std::abs(dy);
    const int64_t len = x_major ? std::abs(dx) : std::abs(dy), dm = x_major ? dy : dx;
    const int64_t major0 = x_major ? a.x : a.y, minor0 = x_major ? a.y : a.x;
    const int64_t dir = (x_major ? dx : dy) > 0 ? 1 : -1;
    for (int64_t p = 0; p < (x_major ? size.w : size.h); ++p) {
        const __int128 k = (p - major0) * dir;
        if (len == 0 || k < 0 || k >= len) continue;
        const __int128 num = 2 * k * dm - len, den = 2 * __int128{len};
        const __int128 off = num / den + ((num % den) > 0 ? 1 : 0);  // ceiling
        const __int128 q = minor0 + off;
        const int64_t x = x_major ? p : int64_t(q), y = x_major ? int64_t(q) : p;
        if (x >= 0 && x < size.w && y >= 0 && y < size.h) s.at(int32_t(x), int32_t(y)) = RED;
    }
    return picture(s, RED);
}

TEST(ThinLine, ZeroLengthDrawsNothingAndOneStepDrawsTheFirstPixel) {
    EXPECT_EQ(line({3, 2}, {1, 1}, {1, 1}), "...\n...\n");
    EXPECT_EQ(line({3, 2}, {1, 1}, {2, 1}), "...\n.#.\n");
    EXPECT_EQ(line({3, 2}, {2, 1}, {1, 1}), "...\n..#\n");
}

TEST(ThinLine, EveryOctantLightsOnePixelPerStepAndNeverTheLast) {
    // From the centre to a point in each octant; the end pixel stays empty.
    const Size size{9, 9};
    EXPECT_EQ(line(size, {4, 4}, {8, 6}),
              ".........\n.........\n.........\n.........\n"
              "....##...\n"
              "......##.\n"
              ".........\n.........\n.........\n");
    EXPECT_EQ(line(size, {4, 4}, {0, 2}),
              ".........\n.........\n"
              ".#.......\n"
              "..##.....\n"
              "....#....\n"
              ".........\n.........\n.........\n.........\n");
    EXPECT_EQ(line(size, {4, 4}, {6, 0}),
              ".........\n"
              ".....#...\n"
              ".....#...\n"
              "....#....\n"
              "....#....\n"
              ".........\n.........\n.........\n.........\n");
    EXPECT_EQ(line(size, {4, 4}, {2, 8}),
              ".........\n.........\n.........\n.........\n"
              "....#....\n"
              "...#.....\n"
              "...#.....\n"
              "..#......\n"
              ".........\n");
    const Point ends[] = {{8, 6}, {6, 8}, {2, 8}, {0, 6}, {0, 2}, {2, 0}, {6, 0}, {8, 2}, {8, 8}, {0, 0}};
    for (const Point end : ends) EXPECT_EQ(line(size, {4, 4}, end), rule_line(size, {4, 4}, end));
}

TEST(ThinLine, ExactHalvesGoToTheSmallerCoordinateInEitherDirection) {
    // (0,0)-(4,1) is at y = 0.5 in column 2, and (0,0)-(1,4) at x = 0.5 in row 2.
    EXPECT_EQ(line({5, 2}, {0, 0}, {4, 1}), "###..\n...#.\n");
    EXPECT_EQ(line({5, 2}, {4, 1}, {0, 0}), ".##..\n...##\n");
    EXPECT_EQ(line({2, 5}, {0, 0}, {1, 4}), "#.\n#.\n#.\n.#\n..\n");
    EXPECT_EQ(line({2, 5}, {1, 4}, {0, 0}), "..\n#.\n#.\n.#\n.#\n");
}

TEST(ThinLine, DrawingBackwardsLightsTheSamePixelsApartFromTheEnds) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int32_t> coord(-3, 14);
    for (int i = 0; i < 400; ++i) {
        const Point a{coord(rng), coord(rng)}, b{coord(rng), coord(rng)};
        Surface fwd({12, 12}, WHITE), back({12, 12}, WHITE);
        draw_line(fwd, fwd.bounds(), a, b, red_pen());
        draw_line(fwd, fwd.bounds(), b, {b.x + 1, b.y}, red_pen());  // add the end pixel
        draw_line(back, back.bounds(), b, a, red_pen());
        draw_line(back, back.bounds(), a, {a.x + 1, a.y}, red_pen());
        ASSERT_EQ(picture(fwd, RED), picture(back, RED)) << a.x << "," << a.y << " " << b.x << "," << b.y;
    }
}

TEST(ThinLine, LinesAcrossTheInt32RangeAreClippedExactly) {
    EXPECT_EQ(line({4, 4}, {INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}), "#...\n.#..\n..#.\n...#\n");
    EXPECT_EQ(line({4, 3}, {INT32_MIN, 1}, {INT32_MAX, 1}), "....\n####\n....\n");
    // Half way from x = INT32_MIN to INT32_MAX is x = -0.5, so the step to row 1
    // falls exactly at column 0.
    EXPECT_EQ(line({4, 2}, {INT32_MIN, 0}, {INT32_MAX, 1}), "....\n####\n");
    EXPECT_EQ(line({4, 2}, {INT32_MAX, 1}, {INT32_MIN, 0}), "....\n####\n");
    EXPECT_EQ(line({4, 2}, {INT32_MAX, INT32_MIN}, {INT32_MAX, INT32_MAX}), "....\n....\n");
    std::mt19937 rng(11);
    const int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, -70000,        -1,       0, 3,
                                9,         70000,         INT32_MAX - 1, INT32_MAX};
    std::uniform_int_distribution<size_t> pick(0, std::size(extremes) - 1);
    for (int i = 0; i < 300; ++i) {
        const Point a{extremes[pick(rng)], extremes[pick(rng)]}, b{extremes[pick(rng)], extremes[pick(rng)]};
        ASSERT_EQ(line({10, 10}, a, b), rule_line({10, 10}, a, b))
            << a.x << "," << a.y << " " << b.x << "," << b.y;
    }
}

TEST(WideLine, ZeroLengthIsADotOfThePenWidth) {
    EXPECT_EQ(line({5, 5}, {2, 2}, {2, 2}, 2), ".....\n.##..\n.##..\n.....\n.....\n");
    EXPECT_EQ(line({7, 7}, {3, 3}, {3, 3}, 5),
              ".......\n"
              "..###..\n"
              ".#####.\n"
              ".#####.\n"
              ".#####.\n"
              "..###..\n"
              ".......\n");
}

TEST(WideLine, LinesAcrossTheInt32RangeAreClipped) {
    EXPECT_EQ(line({4, 5}, {INT32_MIN, 2}, {INT32_MAX, 2}, 3), "....\n####\n####\n####\n....\n");
    EXPECT_EQ(line({4, 4}, {INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}, 1 << 30),
              "####\n####\n####\n####\n");
    // Width INT32_MAX reaches 2^30 - 0.5 either side of x = 2^30: columns 1 and up.
    EXPECT_EQ(line({4, 2}, {1 << 30, INT32_MAX}, {1 << 30, INT32_MIN}, INT32_MAX), ".###\n.###\n");
}

}  // namespace
}  // namespace morlu::raster::testing
