#include <gtest/gtest.h>

#include "platform/headless/headless_backend.h"
#include "platform/window/platform.h"

namespace morlu::platform {
namespace {

class GdiObjects : public ::testing::Test {
protected:
    void SetUp() override {
        platform_start(backend);
        dc = create_compatible_dc(Hdc::none);
        select_object(dc, create_compatible_bitmap(dc, 8, 8));
    }
    void TearDown() override {
        platform_stop();
    }
    HeadlessBackend backend;
    Hdc dc = Hdc::none;
};

TEST_F(GdiObjects, AHandleStaysDeadWhenItsSlotIsReused) {
    const Hgdiobj pen = create_pen(PS_SOLID, 1, rgb(255, 0, 0));
    ASSERT_EQ(delete_object(pen), 1);
    const Hgdiobj brush = create_solid_brush(rgb(0, 0, 255));  // may take the pen's slot
    EXPECT_NE(brush, pen);
    EXPECT_EQ(select_object(dc, pen), Hgdiobj::none);
    EXPECT_EQ(delete_object(pen), 0);
    EXPECT_NE(select_object(dc, brush), Hgdiobj::none);
    const Hdc other = create_compatible_dc(Hdc::none);
    ASSERT_EQ(delete_dc(other), 1);
    const Hdc again = create_compatible_dc(Hdc::none);
    EXPECT_NE(again, other);
    EXPECT_EQ(rectangle(other, 0, 0, 4, 4), 0);
    EXPECT_EQ(delete_dc(other), 0);
}

// A shape makes and frees its objects: a slot is reused with every shape, more
// often than a 16-bit generation can count.
TEST_F(GdiObjects, AHandleStaysDeadThroughSeventyThousandReusesOfItsSlot) {
    const Hgdiobj first = create_pen(PS_SOLID, 1, rgb(255, 0, 0));
    ASSERT_EQ(delete_object(first), 1);
    for (int i = 0; i < 70000; ++i) {
        const Hgdiobj pen = create_pen(PS_SOLID, 1, rgb(0, 0, 255));
        ASSERT_NE(pen, first) << "reuse " << i;
        ASSERT_EQ(delete_object(pen), 1);
    }
    EXPECT_EQ(delete_object(first), 0);
}

TEST_F(GdiObjects, AnObjectDeletedWhileSelectedServesUntilItIsReplaced) {
    const Hgdiobj red = create_solid_brush(rgb(255, 0, 0));
    const Hgdiobj old = select_object(dc, red);
    ASSERT_EQ(delete_object(red), 1);
    select_object(dc, get_stock_object(NULL_PEN));
    rectangle(dc, 0, 0, 5, 5);
    EXPECT_EQ(dc_surface(dc)->at(1, 1), 0xFF0000u);  // still drawing with it
    select_object(dc, old);                          // now it is gone
    EXPECT_EQ(select_object(dc, red), Hgdiobj::none);
}

TEST_F(GdiObjects, StockObjectsSurviveDeletion) {
    const Hgdiobj null_brush = get_stock_object(NULL_BRUSH);
    EXPECT_EQ(delete_object(null_brush), 1);
    EXPECT_NE(select_object(dc, null_brush), Hgdiobj::none);
    EXPECT_EQ(get_stock_object(99), Hgdiobj::none);
}

TEST_F(GdiObjects, ANewContextHasTheDefaultObjectsAndANewBitmapIsBlack) {
    EXPECT_EQ(dc_surface(dc)->at(3, 3), 0u);
    rectangle(dc, 1, 1, 6, 6);  // black one-pixel pen, white brush
    EXPECT_EQ(dc_surface(dc)->at(1, 1), 0u);
    EXPECT_EQ(dc_surface(dc)->at(3, 3), 0xFFFFFFu);
    EXPECT_EQ(get_bk_mode(dc), OPAQUE);
    EXPECT_EQ(get_bk_color(dc), rgb(255, 255, 255));
    EXPECT_EQ(create_compatible_bitmap(dc, 0, 5), Hgdiobj::none);
    EXPECT_EQ(create_compatible_bitmap(dc, 1 << 16, 1 << 16), Hgdiobj::none);  // refused, not allocated
}

}  // namespace
}  // namespace morlu::platform
