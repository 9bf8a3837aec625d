#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "platform/window/platform.h"
#include "platform/window/platform_state.h"

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

Hgdiobj make_font(int32_t height, const std::string& face) {
    return create_font(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, face.c_str());
}

// A program that makes ever new fonts fills every cache behind text to its
// limit and no further; a font in use outlives its cache entries; and
// platform_stop empties every cache.
TEST_F(GdiObjects, FontCachesStayBoundedAndPlatformStopEmptiesThem) {
    select_object(dc, make_font(-12, "MORLU-font"));
    TextMetrics before{};
    ASSERT_EQ(get_text_metrics(dc, &before), 1);
    const Hdc other = create_compatible_dc(Hdc::none);
    std::vector<size_t> most;
    for (int32_t i = 1; i <= 300; ++i) {
        const Hgdiobj old = select_object(other, make_font(-i, "face " + std::to_string(i)));
        TextMetrics m{};
        get_text_metrics(other, &m);
        delete_object(select_object(other, old));
        const auto fills = platform_state.fonts.fill();
        most.resize(fills.size());
        for (size_t c = 0; c < fills.size(); ++c) most[c] = std::max(most[c], fills[c].entries);
    }
    // Each cache reached its limit, and went no further.
    for (size_t c = 0; c < most.size(); ++c) EXPECT_EQ(most[c], platform_state.fonts.fill()[c].limit) << c;
    TextMetrics after{};
    ASSERT_EQ(get_text_metrics(dc, &after), 1);
    EXPECT_EQ(after.tm_height, before.tm_height);
    EXPECT_EQ(after.tm_ave_char_width, before.tm_ave_char_width);
    SizeL extent{};
    EXPECT_EQ(get_text_extent(dc, "Hello", 5, &extent), 1);
    EXPECT_EQ(text_out(dc, 0, 0, "Hello", 5), 1);

    platform_stop();
    for (const auto& fill : platform_state.fonts.fill()) EXPECT_EQ(fill.entries, 0u);
}

}  // namespace
}  // namespace morlu::platform
