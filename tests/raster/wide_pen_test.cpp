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

}  // namespace
}  // namespace morlu::raster::testing
