#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "raster_picture.h"

namespace morlu::raster::testing {
namespace {

std::string rectangle(Size size,
                      const Rect& r,
                      int32_t width,
                      const Brush& brush = NULL_BRUSH,
                      uint32_t ink = RED) {
    return draw_picture(size, ink,
                        [&](Surface& s) { draw_rectangle(s, s.bounds(), r, red_pen(width), brush); });
}

TEST(WideRectangle, WidthTwoCoversTheEdgeAndThePixelAboveOrLeft) {
    // The path runs (2,2)-(6,5): columns 1..2 and 5..6, rows 1..2 and 4..5.
    EXPECT_EQ(rectangle({9, 8}, {2, 2, 7, 6}, 2),
              ".........\n"
              ".######..\n"
              ".######..\n"
              ".##..##..\n"
              ".######..\n"
              ".######..\n"
              ".........\n"
              ".........\n");
}

TEST(WideRectangle, WidthThreeCoversTheEdgeAndOnePixelEitherSide) {
    EXPECT_EQ(rectangle({11, 10}, {2, 2, 9, 8}, 3),
              "...........\n"
              ".#########.\n"
              ".#########.\n"
              ".#########.\n"
              ".###...###.\n"
              ".###...###.\n"
              ".#########.\n"
              ".#########.\n"
              ".#########.\n"
              "...........\n");
    EXPECT_EQ(rectangle({11, 10}, {2, 2, 9, 8}, 3, BLUE_BRUSH, BLUE),
              "...........\n...........\n...........\n...........\n"
              "....###....\n"
              "....###....\n"
              "...........\n...........\n...........\n...........\n");
}

TEST(WideRectangle, OuterCornersAreRound) {
    EXPECT_EQ(rectangle({12, 12}, {3, 3, 9, 9}, 5),
              "............\n"
              "..########..\n"
              ".##########.\n"
              ".##########.\n"
              ".##########.\n"
              ".##########.\n"
              ".##########.\n"
              ".##########.\n"
              ".##########.\n"
              ".##########.\n"
              "..########..\n"
              "............\n");
}

TEST(WideRectangle, CornersAtTheInt32LimitsAreClipped) {
    EXPECT_EQ(rectangle({3, 2}, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 3), "...\n...\n");
    EXPECT_EQ(rectangle({3, 2}, {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN}, 3, BLUE_BRUSH, BLUE),
              "###\n###\n");
    EXPECT_EQ(rectangle({3, 6}, {INT32_MIN, 1, INT32_MAX, 4}, 3), "###\n###\n###\n###\n###\n...\n");
}

TEST(WidePolygon, ASquareGivesTheSameBandAsTheRectangleOnItsPath) {
    const std::vector<Point> square{{2, 2}, {6, 2}, {6, 5}, {2, 5}};
    for (const int32_t width : {2, 3, 4, 5}) {
        const std::string poly = draw_picture({10, 10}, RED, [&](Surface& s) {
            draw_polygon(s, s.bounds(), square, red_pen(width), NULL_BRUSH);
        });
        EXPECT_EQ(poly, rectangle({10, 10}, {2, 2, 7, 6}, width)) << "width " << width;
    }
}

TEST(WideEllipse, BandIsCentredOnThePath) {
    // Radius 3 with width 3: the radius-4 disc without the radius-1 plus sign.
    EXPECT_EQ(draw_picture({13, 13}, RED,
                           [](Surface& s) {
                               draw_ellipse(s, s.bounds(), {3, 3, 10, 10}, red_pen(3), BLUE_BRUSH);
                           }),
              ".............\n"
              ".............\n"
              ".....###.....\n"
              "...#######...\n"
              "...#######...\n"
              "..####.####..\n"
              "..###...###..\n"
              "..####.####..\n"
              "...#######...\n"
              "...#######...\n"
              ".....###.....\n"
              ".............\n"
              ".............\n");
}

TEST(WideEllipse, EvenWidthsPutTheExtraPixelUpAndLeft) {
    // Radius 2 with width 2: the path's extreme rows and columns 2 and 6 give
    // bands 1..2 and 5..6.
    EXPECT_EQ(draw_picture({9, 9}, RED,
                           [](Surface& s) {
                               draw_ellipse(s, s.bounds(), {2, 2, 7, 7}, red_pen(2), NULL_BRUSH);
                           }),
              ".........\n"
              "..####...\n"
              ".######..\n"
              ".##..##..\n"
              ".##..##..\n"
              ".######..\n"
              "..####...\n"
              ".........\n"
              ".........\n");
}

}  // namespace
}  // namespace morlu::raster::testing
