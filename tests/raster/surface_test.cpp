#include <gtest/gtest.h>

#include <climits>

#include "platform/raster/surface.h"

namespace morlu::raster {
namespace {

Surface numbered(Size size) {
    Surface s(size);
    for (int32_t y = 0; y < size.h; ++y)
        for (int32_t x = 0; x < size.w; ++x) s.at(x, y) = static_cast<uint32_t>(y * 10 + x);
    return s;
}

TEST(CopyArea, ClipsToBothSurfacesAtAnyOffset) {
    Surface dst({4, 3}, 99);
    const Surface src = numbered({4, 3});
    copy_area(dst, dst.bounds(), 2, 1, src, 0, 0, 4, 3);
    EXPECT_EQ(dst.at(2, 1), 0u);
    EXPECT_EQ(dst.at(3, 2), 11u);
    EXPECT_EQ(dst.at(1, 1), 99u);
    copy_area(dst, dst.bounds(), INT32_MAX, INT32_MIN, src, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX);
    EXPECT_EQ(dst.at(3, 2), 11u);
}

TEST(ScrollBox, MovesRowsUpAndLeavesTheUncoveredRowsAlone) {
    Surface s = numbered({3, 4});
    scroll_box(s, s.bounds(), 0, -1);
    EXPECT_EQ(s.at(0, 0), 10u);
    EXPECT_EQ(s.at(2, 2), 32u);
    EXPECT_EQ(s.at(2, 3), 32u);  // the uncovered bottom row keeps its old pixels
    scroll_box(s, s.bounds(), 0, 2);
    EXPECT_EQ(s.at(1, 2), 11u);
    EXPECT_EQ(s.at(1, 0), 11u);
    scroll_box(s, s.bounds(), 0, INT32_MIN);  // a scroll past the whole box changes nothing
    EXPECT_EQ(s.at(1, 2), 11u);
}

TEST(Surface, ResizeKeepsThePixelsThatStayInside) {
    Surface s = numbered({3, 3});
    s.resize({2, 4}, 7);
    EXPECT_EQ(s.at(1, 2), 21u);
    EXPECT_EQ(s.at(0, 3), 7u);
}

// Whole rows filled are written when next used; every way to the pixels
// sees them filled, and a row filled again takes the last colour.
TEST(Surface, RowsFilledWholeReadBackThroughEveryWayToThePixels) {
    Surface s = numbered({3, 5});
    s.fill_rows(1, 4, 5);
    s.fill_rows(2, 3, 6);
    s.at(0, 3) = 9;
    const Surface& view = s;
    EXPECT_EQ(view.at(2, 1), 5u);
    EXPECT_EQ(s.rows(2, 4)[1], 6u);
    EXPECT_EQ(s.rows(2, 4)[3], 9u);
    EXPECT_EQ(s.rows(2, 4)[4], 5u);
    Surface copy = numbered({3, 5});
    s.fill_rows(0, 5, 8);
    copy_box(copy, s, {0, 4, 3, 5});
    EXPECT_EQ(copy.at(1, 4), 8u);
    EXPECT_EQ(copy.at(1, 3), 31u);
    Surface wider = numbered({5, 2});
    copy_area(wider, wider.bounds(), 1, 1, s, 0, 2, 3, 1);
    EXPECT_EQ(wider.at(0, 1), 10u);
    EXPECT_EQ(wider.at(3, 1), 8u);
    EXPECT_EQ(wider.at(4, 1), 14u);
    const uint32_t* all = s.pixels();
    EXPECT_EQ(all[0], 8u);
    EXPECT_EQ(all[14], 8u);
}

// A display service keeps the shared memory and reads it at any time: every
// fill and copy after sharing is in that memory at once, and a resize ends
// the sharing (the service takes the new memory again).
TEST(Surface, SharedMemoryAlwaysHoldsThePixels) {
    Surface s = numbered({3, 4});
    s.fill_rows(0, 2, 5);
    const uint32_t* shared = s.shared_pixels();
    EXPECT_EQ(shared[0], 5u);
    s.fill_rows(1, 3, 6);
    EXPECT_EQ(shared[3], 6u);
    EXPECT_EQ(shared[8], 6u);
    Surface source({3, 4}, 0);
    source.fill_rows(3, 4, 7);
    copy_box(s, source, {0, 3, 3, 4});
    EXPECT_EQ(shared[11], 7u);
    s.resize({3, 4});
    s.fill_rows(0, 1, 9);
    EXPECT_EQ(s.noted_color(0).value_or(0), 9u);
    EXPECT_EQ(s.shared_pixels()[0], 9u);
}

}  // namespace
}  // namespace morlu::raster
