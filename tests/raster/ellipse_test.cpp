#include <gtest/gtest.h>

#include <climits>

#include "platform/raster/ellipse_cache.h"
#include "raster_picture.h"

namespace morlu::raster::testing {
namespace {

// A circle of radius r centred at c, requested as the platform expects.
Rect circle(int32_t cx, int32_t cy, int32_t r) {
    return {cx - r, cy - r, cx + r + 1, cy + r + 1};
}

std::string ellipse(Size size, const Rect& box, const Pen& pen, const Brush& brush, uint32_t ink) {
    return draw_picture(size, ink, [&](Surface& s) { draw_ellipse(s, s.bounds(), box, pen, brush); });
}

std::string outline(Size size, const Rect& box) {
    return ellipse(size, box, red_pen(), NULL_BRUSH, RED);
}

TEST(Ellipse, RadiusZeroDrawsNothing) {
    EXPECT_EQ(ellipse({3, 3}, circle(1, 1, 0), red_pen(), RED_BRUSH, RED), "...\n...\n...\n");
    EXPECT_EQ(ellipse({3, 3}, circle(1, 1, 0), NULL_PEN, RED_BRUSH, RED), "...\n...\n...\n");
}

TEST(Ellipse, RadiusOneIsAPlusSign) {
    const std::string plus = ".....\n..#..\n.###.\n..#..\n.....\n";
    EXPECT_EQ(ellipse({5, 5}, circle(2, 2, 1), red_pen(), RED_BRUSH, RED), plus);
    EXPECT_EQ(ellipse({5, 5}, circle(2, 2, 1), NULL_PEN, RED_BRUSH, RED), plus);
}

TEST(Ellipse, SmallCirclesFollowTheMidpointCircle) {
    EXPECT_EQ(outline({7, 7}, circle(3, 3, 2)),
              ".......\n"
              "..###..\n"
              ".#...#.\n"
              ".#...#.\n"
              ".#...#.\n"
              "..###..\n"
              ".......\n");
    EXPECT_EQ(outline({9, 9}, circle(4, 4, 3)),
              ".........\n"
              "...###...\n"
              "..#...#..\n"
              ".#.....#.\n"
              ".#.....#.\n"
              ".#.....#.\n"
              "..#...#..\n"
              "...###...\n"
              ".........\n");
}

TEST(Ellipse, PenOutlinesAndBrushFillsTheInside) {
    const Rect box = circle(4, 4, 3);
    EXPECT_EQ(ellipse({9, 9}, box, red_pen(), BLUE_BRUSH, RED), outline({9, 9}, box));
    EXPECT_EQ(ellipse({9, 9}, box, red_pen(), BLUE_BRUSH, BLUE),
              ".........\n"
              ".........\n"
              "...###...\n"
              "..#####..\n"
              "..#####..\n"
              "..#####..\n"
              "...###...\n"
              ".........\n"
              ".........\n");
}

TEST(Ellipse, CornersInAnyOrderGiveTheSamePixels) {
    EXPECT_EQ(outline({12, 8}, {10, 6, 1, 1}), outline({12, 8}, {1, 1, 10, 6}));
    EXPECT_EQ(outline({12, 8}, {1, 6, 10, 1}), outline({12, 8}, {1, 1, 10, 6}));
}

TEST(Ellipse, CirclesUpToRadius25AreSymmetricSpanTheirBoxAndFillTheirOutline) {
    for (int32_t r = 1; r <= 25; ++r) {
        const int32_t c = r + 2, n = 2 * r + 5;
        Surface both({n, n}, WHITE), filled({n, n}, WHITE);
        draw_ellipse(both, both.bounds(), circle(c, c, r), red_pen(), BLUE_BRUSH);
        draw_ellipse(filled, filled.bounds(), circle(c, c, r), NULL_PEN, BLUE_BRUSH);
        PixelBox ink{n, n, -1, -1};
        for (int32_t y = 0; y < n; ++y) {
            for (int32_t x = 0; x < n; ++x) {
                const bool pen = both.at(x, y) == RED;
                if (pen)
                    ink = {std::min(ink.x0, x), std::min(ink.y0, y), std::max(ink.x1, x),
                           std::max(ink.y1, y)};
                ASSERT_EQ(pen, both.at(y, x) == RED) << r << ": " << x << "," << y;
                ASSERT_EQ(pen, both.at(n - 1 - x, y) == RED) << r << ": " << x << "," << y;
                ASSERT_EQ(pen, both.at(x, n - 1 - y) == RED) << r << ": " << x << "," << y;
                // Outline and inside together are exactly the null-pen fill.
                ASSERT_EQ(both.at(x, y) != WHITE, filled.at(x, y) == BLUE) << r << ": " << x << "," << y;
            }
        }
        EXPECT_EQ(ink, (PixelBox{c - r, c - r, c + r, c + r})) << "radius " << r;
    }
}

TEST(Ellipse, HugeRadiiAreClippedToTheSurfaceRows) {
    // Radius 2^30 with its bottom on row 2: that row is a flat run of outline
    // tens of thousands of pixels long, and the rows above it are inside.
    constexpr int32_t R = 1 << 30;
    const Rect low{4 - R, 2 - R - R, 4 + R + 1, 3};
    const std::string pen = ".........\n.........\n#########\n.........\n.........\n";
    const std::string inside = "#########\n#########\n.........\n.........\n.........\n";
    EXPECT_EQ(ellipse({9, 5}, low, red_pen(), BLUE_BRUSH, RED), pen);
    EXPECT_EQ(ellipse({9, 5}, low, red_pen(), BLUE_BRUSH, BLUE), inside);
    const Rect all{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    EXPECT_EQ(ellipse({3, 2}, all, red_pen(), BLUE_BRUSH, BLUE), "###\n###\n");
    EXPECT_EQ(ellipse({3, 2}, all, red_pen(3), BLUE_BRUSH, BLUE), "###\n###\n");
    EXPECT_EQ(ellipse({3, 2}, {INT32_MAX, INT32_MIN, INT32_MIN, 1}, NULL_PEN, BLUE_BRUSH, BLUE),
              "###\n...\n");
}

// A surface keeps the rows of each size it walked, so the next ellipse of
// that size is not walked again, and never more rows than its budget however
// many sizes it draws.
TEST(EllipseSpanCache, KeepsEachSizeOnceAndStaysWithinItsBudget) {
    EllipseSpanCache cache;
    int walks = 0;
    const auto walk = [&walks](int64_t rows) {
        return [&walks, rows] {
            ++walks;
            return std::make_shared<const EllipseSpans>(static_cast<size_t>(rows));
        };
    };
    const auto first = cache.find_or_make(40, 30, walk(30));
    EXPECT_EQ(cache.find_or_make(40, 30, walk(30)), first);
    EXPECT_EQ(walks, 1);
    EXPECT_NE(cache.find_or_make(30, 40, walk(40)), first);
    for (int64_t h = 100; h <= 8192; h += 97) {
        cache.find_or_make(h, h, walk(h));
        ASSERT_LE(cache.rows_kept(), EllipseSpanCache::ROW_BUDGET) << "after " << h;
    }
    EXPECT_GT(cache.rows_kept(), 0u);
}

}  // namespace
}  // namespace morlu::raster::testing
