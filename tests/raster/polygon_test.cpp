#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "raster_picture.h"

namespace morlu::raster::testing {
namespace {

std::string polygon(Size size, const std::vector<Point>& pts, const Pen& pen) {
    return draw_picture(size, RED, [&](Surface& s) { draw_polygon(s, s.bounds(), pts, pen, RED_BRUSH); });
}

const std::vector<Point> TRIANGLE{{5, 1}, {9, 7}, {1, 7}};

TEST(Polygon, CentresOnLeftAndTopEdgesAreInsideOnRightAndBottomOutside) {
    // The apex row and the bottom row stay empty; on row 4 the edges cross at
    // x = 3 (left, inside) and x = 7 (right, outside).
    EXPECT_EQ(polygon({11, 9}, TRIANGLE, NULL_PEN),
              "...........\n"
              "...........\n"
              ".....#.....\n"
              "....###....\n"
              "...####....\n"
              "...#####...\n"
              "..#######..\n"
              "...........\n"
              "...........\n");
}

TEST(Polygon, PenDrawsEachEdgeAsALineClosingTheFigure) {
    EXPECT_EQ(polygon({11, 9}, TRIANGLE, red_pen()),
              "...........\n"
              ".....#.....\n"
              "....###....\n"
              "....###....\n"
              "...#####...\n"
              "..#######..\n"
              "..#######..\n"
              ".#########.\n"
              "...........\n");
    const std::vector<Point> square{{1, 1}, {11, 1}, {11, 11}, {1, 11}};
    const std::string row = ".###########.\n", empty = ".............\n";
    std::string eleven = empty;
    for (int i = 0; i < 11; ++i) eleven += row;
    EXPECT_EQ(polygon({13, 13}, square, red_pen()), eleven + empty);
    EXPECT_EQ(polygon({13, 13}, {{11, 11}, {1, 11}, {1, 1}, {11, 1}}, red_pen()), eleven + empty);
}

TEST(Polygon, AlternateFillLeavesEvenlyEnclosedAreasEmpty) {
    // A square with a square hole, joined by a slit walked both ways.
    EXPECT_EQ(
        polygon({10, 9}, {{0, 0}, {8, 0}, {8, 8}, {0, 8}, {0, 0}, {2, 2}, {2, 6}, {6, 6}, {6, 2}, {2, 2}},
                NULL_PEN),
        "########..\n"
        "########..\n"
        "##....##..\n"
        "##....##..\n"
        "##....##..\n"
        "##....##..\n"
        "########..\n"
        "########..\n"
        "..........\n");
    // Twice round the same square encloses everything an even number of times.
    EXPECT_EQ(polygon({5, 5}, {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}, {4, 0}, {4, 4}, {0, 4}}, NULL_PEN),
              ".....\n.....\n.....\n.....\n.....\n");
}

TEST(Polygon, FewerThanTwoPointsDrawNothing) {
    EXPECT_EQ(polygon({3, 2}, {}, red_pen()), "...\n...\n");
    EXPECT_EQ(polygon({3, 2}, {{1, 1}}, red_pen(3)), "...\n...\n");
}

TEST(Polygon, VerticesAtTheInt32LimitsAreClippedExactly) {
    const std::vector<Point> half{{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}, {INT32_MIN, INT32_MAX}};
    EXPECT_EQ(polygon({4, 4}, half, NULL_PEN), "....\n#...\n##..\n###.\n");
    EXPECT_EQ(polygon({4, 4}, half, red_pen()), "#...\n##..\n###.\n####\n");
    const std::vector<Point> mountain{{INT32_MIN, INT32_MAX}, {0, INT32_MIN}, {INT32_MAX, INT32_MAX}};
    EXPECT_EQ(polygon({4, 2}, mountain, red_pen(7)), "####\n####\n");
    // The long edge passes y = 2.5 near x = 0, so rows 3 and 4 are inside and row 5 is a bottom edge.
    EXPECT_EQ(polygon({4, 6}, {{INT32_MAX, 0}, {INT32_MAX, 5}, {INT32_MIN, 5}}, NULL_PEN),
              "....\n....\n....\n####\n####\n....\n");
}

}  // namespace
}  // namespace morlu::raster::testing
