#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/headless_backend.h"
#include "platform/window/platform.h"

namespace morlu::platform {
namespace {

std::vector<uint32_t> seen;
std::vector<int> paint_erases;  // PaintStruct::erase of each paint

LResult record_proc(Hwnd hwnd, uint32_t message, WParam wparam, LParam lparam) {
    seen.push_back(message);
    if (message == WM_PAINT) {
        PaintStruct ps;
        begin_paint(hwnd, &ps);
        paint_erases.push_back(ps.erase);
        end_paint(hwnd, &ps);
        return 0;
    }
    return def_window_proc(hwnd, message, wparam, lparam);
}

class MessageQueue : public ::testing::Test {
protected:
    void SetUp() override {
        seen.clear();
        paint_erases.clear();
        platform_start(backend);
        WndClass cls;
        cls.proc = record_proc;
        cls.class_name = "Test";
        cls.background = get_stock_object(WHITE_BRUSH);
        ASSERT_EQ(register_class(cls), 1);
        hwnd = create_window(0, "Test", "test", WS_CAPTION, 0, 0, 100, 80, Hwnd::none, Hmenu::none,
                             Hinstance::none, nullptr);
    }
    void TearDown() override {
        platform_stop();
    }
    std::vector<uint32_t> drain() {
        std::vector<uint32_t> out;
        Msg msg;
        while (peek_message(&msg)) {
            out.push_back(msg.message);
            translate_message(&msg);
            dispatch_message(&msg);
            if (msg.message == WM_QUIT) break;
        }
        return out;
    }
    Msg take() {
        Msg msg;
        EXPECT_TRUE(peek_message(&msg));
        return msg;
    }
    void key_down(uint32_t vk, int codepoint, uint32_t mods = 0) {
        backend.inject({.kind = NativeEvent::Kind::key_down,
                        .window = static_cast<uint32_t>(hwnd),
                        .vk = vk,
                        .codepoint = codepoint,
                        .mods = mods});
    }

    HeadlessBackend backend;
    Hwnd hwnd = Hwnd::none;
};

TEST_F(MessageQueue, CreationSendsCreateThenSizeWithTheClientArea) {
    EXPECT_EQ(seen, (std::vector<uint32_t>{WM_CREATE, WM_SIZE}));
    RectL r;
    get_client_rect(hwnd, &r);
    EXPECT_EQ(r.right, 100);
    EXPECT_EQ(r.bottom, 80 - get_system_metrics(SM_CYCAPTION));
}

TEST_F(MessageQueue, PostedComeFirstThenQuitThenPaintThenTimer) {
    show_window(hwnd, SW_SHOW);  // needs a paint
    set_timer(hwnd, 7, 100);
    backend.let_time_pass(Millis{100});
    backend.wait_events(Millis::max());  // the clock reaches the timer
    post_message(hwnd, WM_USER, 0, 0);
    post_quit_message(3);
    post_message(hwnd, WM_USER + 1, 0, 0);
    EXPECT_EQ(drain(), (std::vector<uint32_t>{WM_USER, WM_USER + 1, WM_QUIT}));
    EXPECT_EQ(drain(), (std::vector<uint32_t>{WM_PAINT, WM_TIMER}));
    Msg msg;
    EXPECT_FALSE(peek_message(&msg));  // painted, and the timer is not due again yet
}

// WM_PAINT is made, not queued: once for any number of invalidations, only for
// a visible window, and asking for an erase when any invalidation did.
TEST_F(MessageQueue, PaintIsMadeOnceForTheInvalidationsOfAVisibleWindow) {
    invalidate_rect(hwnd, nullptr, 1);
    EXPECT_EQ(drain(), std::vector<uint32_t>{});  // hidden
    show_window(hwnd, SW_SHOW);
    EXPECT_EQ(drain(), std::vector<uint32_t>{WM_PAINT});
    EXPECT_EQ(drain(), std::vector<uint32_t>{});  // begin_paint validated it
    invalidate_rect(hwnd, nullptr, 0);
    invalidate_rect(hwnd, nullptr, 1);
    invalidate_rect(hwnd, nullptr, 0);
    EXPECT_EQ(drain(), std::vector<uint32_t>{WM_PAINT});
    invalidate_rect(hwnd, nullptr, 0);
    EXPECT_EQ(drain(), std::vector<uint32_t>{WM_PAINT});
    EXPECT_EQ(paint_erases, (std::vector<int>{1, 1, 0}));
}

// Setting a timer again restarts its period; each timer names itself; a killed
// timer sends nothing more, even an expiry already due.
TEST_F(MessageQueue, TimersRestartWhenSetAgainAndStopWhenKilled) {
    set_timer(hwnd, 5, 100);
    set_timer(hwnd, 6, 250);
    backend.let_time_pass(Millis{60});
    backend.wait_events(Millis::max());
    set_timer(hwnd, 5, 100);  // now due at 160
    backend.let_time_pass(Millis{200});
    std::vector<std::pair<Millis, WParam>> fired;
    for (Msg msg; wait_message() && peek_message(&msg);) fired.emplace_back(backend.now(), msg.wparam);
    EXPECT_EQ(fired,
              (std::vector<std::pair<Millis, WParam>>{{Millis{160}, 5}, {Millis{250}, 6}, {Millis{260}, 5}}));
    backend.let_time_pass(Millis{100});
    backend.wait_events(Millis::max());  // timer 5 is due again at 360
    kill_timer(hwnd, 5);
    kill_timer(hwnd, 6);
    EXPECT_EQ(drain(), std::vector<uint32_t>{});
    backend.let_time_pass(Millis{1000});
    backend.wait_events(Millis::max());
    EXPECT_EQ(drain(), std::vector<uint32_t>{});
}

TEST_F(MessageQueue, QuitCarriesItsExitCode) {
    post_quit_message(3);
    const Msg msg = take();
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wparam, 3u);
}

TEST_F(MessageQueue, MissedTimerExpiriesMergeIntoOneMessage) {
    set_timer(hwnd, 2, 100);
    backend.let_time_pass(Millis{1000});
    backend.wait_events(Millis::max());
    EXPECT_EQ(drain(), (std::vector<uint32_t>{WM_TIMER}));
    backend.let_time_pass(Millis{100});
    backend.wait_events(Millis::max());
    EXPECT_EQ(drain(), (std::vector<uint32_t>{WM_TIMER}));  // the cadence carries on
    EXPECT_EQ(kill_timer(hwnd, 2), 1);
    EXPECT_EQ(kill_timer(hwnd, 2), 0);
}

TEST_F(MessageQueue, AKeyDownsCharacterIsTheNextMessageTaken) {
    key_down('A', 'a');
    Msg down = take();
    post_message(hwnd, WM_USER, 0, 0);  // already queued: the character still comes first
    EXPECT_EQ(down.message, WM_KEYDOWN);
    EXPECT_EQ(down.wparam, static_cast<WParam>('A'));
    translate_message(&down);
    const Msg ch = take();
    EXPECT_EQ(ch.message, WM_CHAR);
    EXPECT_EQ(ch.wparam, static_cast<WParam>('a'));
    EXPECT_EQ(take().message, WM_USER);
}

TEST_F(MessageQueue, CharactersAreCodePage1252WithCtrlLettersAsControlCodes) {
    const struct {
        uint32_t vk;
        int codepoint;
        uint32_t mods;
        int expected;  // -1: no character
    } cases[] = {
        {VK_OEM_PUNCT, 0xE9, 0, 233},     // é
        {VK_OEM_PUNCT, 0x20AC, 0, 0x80},  // €
        {VK_OEM_PUNCT, 0x4E2D, 0, -1},    // outside the code page
        {'A', 'a', MOD_CONTROL, 1},      {'Z', 'Z', MOD_CONTROL | MOD_SHIFT, 26},
        {'1', '1', MOD_CONTROL, -1},     {VK_F10, -1, 0, -1},
        {VK_RETURN, 13, 0, 13},
    };
    for (const auto& c : cases) {
        key_down(c.vk, c.codepoint, c.mods);
        Msg down = take();
        EXPECT_EQ(translate_message(&down), c.expected >= 0 ? 1 : 0) << c.codepoint;
        if (c.expected >= 0) {
            EXPECT_EQ(take().wparam, static_cast<WParam>(c.expected));
        }
    }
}

TEST_F(MessageQueue, AKeyDownPostedToAnotherWindowStillYieldsItsCharacter) {
    key_down('Q', 'q');
    const Msg down = take();
    post_message(hwnd, down.message, down.wparam, down.lparam);
    Msg again = take();
    translate_message(&again);
    EXPECT_EQ(take().wparam, static_cast<WParam>('q'));
}

TEST_F(MessageQueue, ClosingDestroysAndStaleHandlesFail) {
    backend.inject({.kind = NativeEvent::Kind::close, .window = static_cast<uint32_t>(hwnd)});
    drain();
    EXPECT_EQ(seen.back(), WM_DESTROY);
    EXPECT_FALSE(is_window(hwnd));
    EXPECT_EQ(get_dc(hwnd), Hdc::none);
    EXPECT_EQ(post_message(hwnd, WM_USER, 0, 0), 0);
    EXPECT_EQ(set_timer(hwnd, 1, 100), 0u);
    EXPECT_EQ(send_message(hwnd, WM_USER, 0, 0), 0);
    EXPECT_EQ(show_window(hwnd, SW_SHOW), 0);
}

TEST_F(MessageQueue, WaitReturnsForTheNextTimerAndZeroWhenNothingCanCome) {
    EXPECT_EQ(wait_message(), 0);  // no timer, no input, no driver
    set_timer(hwnd, 1, 100);
    backend.let_time_pass(Millis{250});
    EXPECT_EQ(wait_message(), 1);
    EXPECT_EQ(backend.now(), Millis{100});  // woken at the timer, not at the end of the wait
}

}  // namespace
}  // namespace morlu::platform
