#include <string>
#include <tuple>
#include <vector>

#include "runtime_fixture.h"

namespace morlu::testing {
namespace {

class LogConsole : public RuntimeTest {
protected:
    // Rows of the text window that hold any ink, counted from the bottom.
    int inked_rows() {
        const Surface* s = window_surface(text());
        int rows = 0;
        for (int32_t y = 0; y < s->size().h; ++y)
            for (int32_t x = 0; x < s->size().w; ++x)
                if (s->at(x, y) != 0xFFFFFF) {
                    ++rows;
                    break;
                }
        return rows;
    }
    void repaint_text_window() {
        invalidate_rect(text(), nullptr, 1);
        Msg msg;
        while (peek_message(&msg)) dispatch_message(&msg);
    }
};

TEST_F(LogConsole, TheRingKeepsTheLast25LinesAndItsIndicesWrap) {
    open();
    EXPECT_EQ(runtime.log.log_oldest, -1);
    for (int i = 1; i <= 24; ++i) log_printf("line %d\n", i);
    EXPECT_EQ(runtime.log.log_oldest, 0);
    EXPECT_EQ(runtime.log.log_next, 24);
    log_printf("line 25\n");
    EXPECT_EQ(runtime.log.log_oldest, 0);
    EXPECT_EQ(runtime.log.log_next, 0);
    log_printf("line %d\n", 26);
    EXPECT_EQ(runtime.log.log_oldest, 1);
    EXPECT_EQ(runtime.log.log_next, 1);
    const std::vector<std::string> lines = log_stored_lines();
    ASSERT_EQ(lines.size(), 25u);
    EXPECT_EQ(lines.front(), "line 2");
    EXPECT_EQ(lines.back(), "line 26");
    for (int i = 27; i <= 50; ++i) log_printf("line %d\n", i);
    EXPECT_EQ(runtime.log.log_oldest, 0);
    EXPECT_EQ(log_stored_lines().front(), "line 26");
}

TEST_F(LogConsole, OnlyOneTrailingNewlineIsDropped) {
    open();
    std::string two = "two\n\n";
    std::string none = "none";
    std::string empty;
    log_append_line(two);
    log_append_line(none);
    log_append_line(empty);
    EXPECT_EQ(two, "two\n");
    EXPECT_EQ(none, "none");
    EXPECT_EQ(empty, "");
    EXPECT_EQ(log_printf("%s", ""), 0);  // an empty message is stored and scrolls the window
    EXPECT_EQ(log_stored_lines().size(), 1u);
}

TEST_F(LogConsole, RepaintReplaysTheRingOldestFirst) {
    open();
    repaint_text_window();
    EXPECT_EQ(inked_rows(), 0);  // nothing logged: nothing drawn
    log_printf("Clearing the graphics window\n");
    log_printf("second\n");
    const Surface before = *window_surface(text());
    EXPECT_GT(inked_rows(), 0);
    // Wipe the window; a repaint must give back the same picture from the ring.
    const Hdc dc = get_dc(text());
    select_object(dc, get_stock_object(NULL_PEN));
    rectangle(dc, 0, 0, 5000, 5000);
    release_dc(text(), dc);
    EXPECT_EQ(inked_rows(), 0);
    repaint_text_window();
    const Surface& after = *window_surface(text());
    ASSERT_EQ(after.size(), before.size());
    for (int32_t y = 0; y < after.size().h; ++y)
        for (int32_t x = 0; x < after.size().w; ++x)
            ASSERT_EQ(after.at(x, y), before.at(x, y)) << x << "," << y;
}

TEST_F(LogConsole, ANewLineScrollsTheOthersUpByOneLineHeight) {
    open();
    log_printf("A\n");
    const int32_t h = window_surface(text())->size().h;
    auto lowest_ink = [&] {
        const Surface* s = window_surface(text());
        for (int32_t y = h - 1; y >= 0; --y)
            for (int32_t x = 0; x < 40; ++x)
                if (s->at(x, y) != 0xFFFFFF) return y;
        return -1;
    };
    const int32_t first = lowest_ink();
    EXPECT_GT(first, h - 14);  // in the bottom 13-pixel line
    log_printf("%s", "");      // an empty line still scrolls
    EXPECT_EQ(lowest_ink(), first - 13);
}

TEST_F(LogConsole, AResultLongerThanTheBufferIsCutNotOverflowed) {
    open();
    const std::string big(5000, 'x');
    EXPECT_EQ(log_printf("%s", big.c_str()), 5000);  // the count is the formatter's
    EXPECT_EQ(log_stored_lines().back().size(), 1023u);
}

TEST_F(LogConsole, LinesAreStillStoredAfterTheConsoleIsClosed) {
    open();
    destroy_window(text());
    EXPECT_EQ(log_printf("after %d\n", 1), 8);
    EXPECT_EQ(log_stored_lines().back(), "after 1");
}

TEST_F(LogConsole, SetLoggingFollowsTheFlagWithTheCheckMarkAndOnlyShows) {
    EXPECT_EQ(canvas_set_logging(1), 0);  // before canvas_open
    EXPECT_EQ(runtime.log.logging, 1);
    open();
    show_window(text(), SW_HIDE);
    EXPECT_EQ(canvas_set_logging(0), 1);
    EXPECT_EQ(runtime.log.logging, 0);
    EXPECT_EQ(check_menu_item(runtime.menu.run_menu, CMD_LOGGING, MF_UNCHECKED),
              static_cast<int>(MF_UNCHECKED));
    EXPECT_FALSE(is_window_visible(text()));  // switching off neither hides nor shows
    EXPECT_EQ(canvas_set_logging(5), 1);
    EXPECT_EQ(runtime.log.logging, 1);
    EXPECT_EQ(check_menu_item(runtime.menu.run_menu, CMD_LOGGING, MF_CHECKED), static_cast<int>(MF_CHECKED));
    EXPECT_TRUE(is_window_visible(text()));
}

// Closed from its title bar, the console is gone; switching logging on makes it
// again, of its class and title, where it was, and its first paint shows the
// lines stored meanwhile.
TEST_F(LogConsole, SwitchingLoggingOnShowsAClosedConsoleAgainWithItsLines) {
    open();
    const WindowPlan plan = backend.shown(static_cast<uint32_t>(text()))->plan;
    send_message(text(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(is_window(text()));
    log_printf("stored while closed\n");
    EXPECT_EQ(canvas_set_logging(1), 1);
    ASSERT_EQ(find_window(TEXT_CLASS, TEXT_TITLE), text());
    EXPECT_TRUE(is_window_visible(text()));
    const WindowPlan again = backend.shown(static_cast<uint32_t>(text()))->plan;
    EXPECT_EQ(std::tie(again.x, again.y, again.client), std::tie(plan.x, plan.y, plan.client));
    Msg msg;
    while (peek_message(&msg)) dispatch_message(&msg);
    EXPECT_GT(inked_rows(), 0);  // the stored line, replayed
}

TEST_F(LogConsole, KeysInTheTextWindowReachTheGraphicsWindow) {
    open();
    canvas_set_animation(ANIMATE_RUN);
    then_ctrl('H', text());
    then([this] { inject_key('Z', 'z', 0, text()); });
    EXPECT_EQ(await(), MORLU_KBD);  // the forwarded key-down is translated again
    EXPECT_EQ(key, 'z');
    EXPECT_EQ(runtime.events.running, 0);
}

}  // namespace
}  // namespace morlu::testing
