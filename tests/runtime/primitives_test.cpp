#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "runtime_fixture.h"

namespace morlu::testing {
namespace {

class Primitives : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        open();
        canvas_set_logging(0);
        canvas_clear();
        logged_before = log_stored_lines().size();
    }
    // The lines logged since the test started.
    std::vector<std::string> logged() {
        const auto all = log_stored_lines();
        return {all.begin() + static_cast<long>(std::min(logged_before, all.size())), all.end()};
    }
    const Surface& buffer() {
        return *dc_surface(runtime.window.buffer_dc);
    }
    // The back-buffer pixel of a logical point.
    uint32_t pixel(int lx, int ly) {
        return buffer().at(runtime.window.origin_x + lx, runtime.window.origin_y - ly);
    }
    size_t logged_before = 0;
};

constexpr uint32_t RED = 0xFF0000, WHITE = 0xFFFFFF, BLACK = 0x000000;

TEST_F(Primitives, ABadColourIsReportedAndDrawnRed) {
    canvas_set_logging(1);
    for (int bad : {24, 25, -1}) canvas_circle(bad, 0, 0, 3);
    EXPECT_EQ(logged(),
              (std::vector<std::string>{"Illegal color 24; using RED.", "red circle at (0,0), radius 3",
                                        "Illegal color 25; using RED.", "red circle at (0,0), radius 3",
                                        "Illegal color -1; using RED.", "red circle at (0,0), radius 3"}));
    EXPECT_EQ(pixel(0, 0), RED);
}

TEST_F(Primitives, CorrectionsAreLoggedEvenWithLoggingOffInTheirOrder) {
    canvas_circle(30, 0, 0, -4);
    canvas_line(-3, 0, 0, 5, 5, -2);
    canvas_text(0, 0, 0, -200, "x");
    canvas_triangle(1, 0, 0, 1, 1, 2, 0, -7);
    canvas_rectangle(1, 0, 0, 1, 1, -1);
    EXPECT_EQ(
        logged(),
        (std::vector<std::string>{
            "Illegal color 30; using RED.", "Radius of -4 not possible, using radius 4",
            "Width of -2 not possible, using width 2", "Illegal color -3; using RED.",
            "ptsize of -200 not possible, using ptsize 200", "ptsize of 200 not possible, using ptsize 127",
            "Width of -7 not possible, using width 7", "Width of -1 not possible, using width 1"}));
}

TEST_F(Primitives, DescriptionsShowTheCorrectedValues) {
    canvas_set_logging(1);
    canvas_rectangle(4, 10, -10, -10, 10, 0);
    canvas_rectangle(4, 10, -10, -10, 10, 3);
    canvas_line(0, 1, 2, 3, 4, 0);
    canvas_text(0, 5, 6, 12, "");
    canvas_triangle(3, 1, 2, 3, 4, 5, 6, 9);
    EXPECT_EQ(logged(), (std::vector<std::string>{
                            "blue rectangle with bounding box (-10,10) to (10,-10), filled",
                            "blue rectangle with bounding box (-10,10) to (10,-10) with line width 3",
                            "black line from (1,2) to (3,4), width 0", "black text at (5,6), \"\"",
                            "green triangle at (1,2), (3,4), (5,6)"}));
}

TEST_F(Primitives, ARectangleCoversBothCornersRowsAndColumns) {
    canvas_rectangle(2, 10, -10, -10, 10, 0);
    int count = 0;
    for (int ly = -12; ly <= 12; ++ly)
        for (int lx = -12; lx <= 12; ++lx) count += pixel(lx, ly) == RED;
    EXPECT_EQ(count, 21 * 21);
    EXPECT_EQ(pixel(-10, 10), RED);
    EXPECT_EQ(pixel(10, -10), RED);
}

TEST_F(Primitives, ACircleOfRadius25SpansFiftyOnePixels) {
    canvas_circle(2, 0, 0, 25);
    EXPECT_EQ(pixel(-25, 0), RED);
    EXPECT_EQ(pixel(25, 0), RED);
    EXPECT_EQ(pixel(0, 25), RED);
    EXPECT_EQ(pixel(0, -25), RED);
    EXPECT_EQ(pixel(26, 0), WHITE);
    EXPECT_EQ(pixel(0, -26), WHITE);
    canvas_circle(4, 100, 100, 0);  // radius 0: a one-pixel box, which draws nothing
    EXPECT_EQ(pixel(100, 100), WHITE);
}

TEST_F(Primitives, AZeroWidthLineIsOnePixelWideAndLeavesOutItsEnd) {
    canvas_line(0, 0, 0, 10, 0, 0);
    EXPECT_EQ(pixel(0, 0), BLACK);
    EXPECT_EQ(pixel(9, 0), BLACK);
    EXPECT_EQ(pixel(10, 0), WHITE);
    EXPECT_EQ(pixel(5, 1), WHITE);
    EXPECT_EQ(pixel(5, -1), WHITE);
}

TEST_F(Primitives, TextLinesStackDownFromJustAboveTheAnchor) {
    auto inked_rows = [&](int from_row, int to_row) {
        int rows = 0;
        for (int py = from_row; py < to_row; ++py)
            for (int px = runtime.window.origin_x; px < runtime.window.origin_x + 60; ++px)
                if (buffer().at(px, py) != WHITE) {
                    ++rows;
                    break;
                }
        return rows;
    };
    const int anchor_row = runtime.window.origin_y;  // logical y 0
    canvas_text(0, 0, 0, 20, "Hi\nyo");
    EXPECT_GT(inked_rows(anchor_row - 25, anchor_row), 0);       // first line above the anchor row
    EXPECT_GT(inked_rows(anchor_row, anchor_row + 25), 0);       // second from the anchor row down
    EXPECT_EQ(inked_rows(anchor_row + 30, anchor_row + 60), 0);  // and no third
    canvas_clear();
    canvas_text(0, 0, 0, 20, "Hi\n");  // a final line break adds an empty line
    EXPECT_GT(inked_rows(anchor_row - 25, anchor_row), 0);
    EXPECT_EQ(inked_rows(anchor_row, anchor_row + 60), 0);
}

TEST_F(Primitives, PrintfDrawsItsFormatAndReturnsTheCount) {
    canvas_set_logging(1);
    EXPECT_EQ(canvas_printf(0, 1, 2, 12, "no conversions"), 14);
    EXPECT_EQ(canvas_printf(0, 1, 2, 12, "%d-%s", 42, "x"), 4);
    EXPECT_EQ(logged(), (std::vector<std::string>{"black text at (1,2), \"no conversions\"",
                                                  "black text at (1,2), \"42-x\""}));
    const std::string big(3000, 'w');
    EXPECT_EQ(canvas_printf(0, -300, 0, 12, "%s", big.c_str()), 3000);  // drawn cut at 1023, no overflow
}

TEST_F(Primitives, EveryPrimitiveLeavesTheBufferContextAsItFoundIt) {
    canvas_circle(3, 0, 0, 10);
    canvas_triangle(3, 0, 0, 10, 0, 5, 5, 3);
    canvas_rectangle(3, 0, 0, 10, 10, 4);
    canvas_line(3, 0, 0, 10, 10, 5);
    canvas_text(6, 0, 0, 12, "text");
    EXPECT_EQ(get_bk_mode(runtime.window.buffer_dc), OPAQUE);
    EXPECT_EQ(runtime.window.dirty, 1);
    // The clear's frame is drawn with whatever pen is selected: still the default black one.
    canvas_clear();
    EXPECT_EQ(buffer().at(0, 0), BLACK);
    EXPECT_EQ(buffer().at(600, 539), BLACK);
    EXPECT_EQ(buffer().at(1, 1), WHITE);
}

TEST_F(Primitives, RandomAndExtremeArgumentsNeverFaultAndLogOnlyCorrections) {
    std::mt19937 rng(20261208);
    const int32_t picks[] = {INT32_MIN, INT32_MIN + 1, -1000000, -301,          -1,       0,
                             1,         299,           1000000,  INT32_MAX - 1, INT32_MAX};
    auto any = [&] {
        return rng() % 2 ? picks[rng() % std::size(picks)] : static_cast<int32_t>(rng() % 1201) - 600;
    };
    for (int i = 0; i < 3000; ++i) {
        switch (rng() % 5) {
            case 0:
                canvas_circle(any(), any(), any(), any());
                break;
            case 1:
                canvas_triangle(any(), any(), any(), any(), any(), any(), any(), any() % 9);
                break;
            case 2:
                canvas_rectangle(any(), any(), any(), any(), any(), any() % 9);
                break;
            case 3:
                canvas_line(any(), any(), any(), any(), any(), any() % 9);
                break;
            default:
                canvas_text(any(), any(), any(), any(), "fuzz\ntext");
                break;
        }
    }
    for (const std::string& line : logged())
        EXPECT_TRUE(line.find("not possible") != std::string::npos || line.find("Illegal color") == 0)
            << line;
}

TEST_F(Primitives, ExtremeArgumentsAreSafe) {
    for (int v : {INT32_MIN, INT32_MAX, 0, -1}) {
        canvas_circle(v, v, v, v);
        canvas_circle(1, 0, 0, v);
        canvas_rectangle(v, v, v, ~v, v, v);  // ~v is -v - 1 without overflow
        canvas_line(2, v, 0, ~v, 0, v);
        canvas_triangle(3, v, v, 0, 0, v, 0, v);
        canvas_text(4, v, v, v, "edge");
    }
    canvas_circle(2, 0, INT32_MAX, INT32_MAX);  // reaches down over the whole picture
    EXPECT_EQ(pixel(0, 0), RED);
}

}  // namespace
}  // namespace morlu::testing
