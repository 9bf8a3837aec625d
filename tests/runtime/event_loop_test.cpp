#include <cstdio>
#include <string>

#include "runtime_fixture.h"

namespace morlu::testing {
namespace {

class EventLoop : public RuntimeTest {};

TEST_F(EventLoop, HaltedWaitReturnsOnlyForInputWithTheClickInLogicalCoordinates) {
    open();
    then_wait(1000);
    then_click(300 + 10, 250 - 10);
    EXPECT_EQ(await(), MORLU_MOUSE);
    EXPECT_EQ(now_ms(), 1000);  // nothing ended the wait while time passed
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 10);
    EXPECT_EQ(key, 0);
    then_click(300, 250);
    EXPECT_EQ(await(), MORLU_MOUSE);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

TEST_F(EventLoop, ADoubleClickIsTwoPresses) {
    open();
    then([this] {
        inject_click(5, 5);
        inject_click(5, 5);
    });
    EXPECT_EQ(await(), MORLU_MOUSE);
    EXPECT_EQ(await(), MORLU_MOUSE);
    EXPECT_EQ(x, -295);
    EXPECT_EQ(y, 245);
}

TEST_F(EventLoop, RunningGivesOnePeriodicEventPerTick) {
    open();
    canvas_set_animation(ANIMATE_RUN);
    then_wait(1000);
    int periodic = 0;
    long last = -100;
    while (await() == MORLU_PERIODIC) {
        ++periodic;
        EXPECT_GE(now_ms() - last, 100) << "two periodic events within one tick";
        last = now_ms();
    }
    EXPECT_EQ(periodic, 10);
}

TEST_F(EventLoop, StepWhileHaltedGivesOneTickThenWaitsForInput) {
    open();
    canvas_set_animation(ANIMATE_STEP);
    then_wait(250);
    EXPECT_EQ(await(), MORLU_PERIODIC);
    EXPECT_EQ(now_ms(), 100);
    then_wait(1000);
    then([this] { inject_key('K', 'k'); });
    EXPECT_EQ(await(), MORLU_KBD);
    EXPECT_EQ(key, 'k');
    EXPECT_EQ(now_ms(), 1250);
}

TEST_F(EventLoop, AClickEndsTheWaitOfAMadePeriodicEvent) {
    open();
    canvas_set_animation(ANIMATE_RUN);
    then_click(300, 250);  // comes at time 0, before the first tick
    EXPECT_EQ(await(), MORLU_MOUSE);
    EXPECT_EQ(now_ms(), 0);
    then_wait(100);
    EXPECT_EQ(await(), MORLU_PERIODIC);  // the dropped periodic event is made anew
}

TEST_F(EventLoop, HaltingDoesNotTakeBackAMadePeriodicEvent) {
    open();
    canvas_set_animation(ANIMATE_RUN);
    then([this] {
        inject_native(NativeEvent::Kind::key_down, graphics(), VK_CONTROL, -1, 0);
        inject_native(NativeEvent::Kind::key_down, graphics(), 'H', 'h', MOD_CONTROL);
        backend.let_time_pass(Millis{500});
    });
    EXPECT_EQ(await(), MORLU_PERIODIC);
    EXPECT_EQ(runtime.events.running, 0);
    EXPECT_EQ(await(), MORLU_QUIT);  // halted: nothing more until the actions run out
    EXPECT_EQ(now_ms(), 500);
}

TEST_F(EventLoop, AnimateQuitWaitsForAnEventThenAlwaysReturnsQuit) {
    open();
    canvas_set_animation(ANIMATE_QUIT);
    then_click(310, 240);
    EXPECT_EQ(await(), MORLU_QUIT);
    EXPECT_EQ(x, 10);  // the fields of the event that ended the wait
    EXPECT_EQ(y, 10);
    then([this] { inject_key('B', 'b'); });
    EXPECT_EQ(await(), MORLU_QUIT);
    EXPECT_EQ(key, 'b');
}

TEST_F(EventLoop, ModesOutsideTheTableChangeNothing) {
    EXPECT_EQ(canvas_set_animation(ANIMATE_RUN), 0);  // before canvas_open
    EXPECT_EQ(runtime.events.running, 0);
    open();
    for (int mode : {3, 4, 6, -1}) {
        EXPECT_EQ(canvas_set_animation(mode), 1);
        EXPECT_EQ(runtime.events.running + runtime.events.single_step + runtime.events.quit_requested, 0);
    }
    EXPECT_EQ(canvas_set_animation(ANIMATE_STEP), 1);
    EXPECT_EQ(canvas_set_animation(ANIMATE_RUN), 1);
    EXPECT_EQ(runtime.events.running + runtime.events.single_step, 2);
    EXPECT_EQ(canvas_set_animation(ANIMATE_HALT), 1);
    EXPECT_EQ(runtime.events.running + runtime.events.single_step, 0);
}

TEST_F(EventLoop, CharactersBecomeKeyboardEventsUnlessCtrlIsHeld) {
    open();
    then([this] { inject_key('A', 'A', MOD_SHIFT); });
    EXPECT_EQ(await(), MORLU_KBD);
    EXPECT_EQ(key, 'A');
    then([this] { inject_key(VK_OEM_PUNCT, 0xE9); });  // é is 233 in code page 1252
    EXPECT_EQ(await(), MORLU_KBD);
    EXPECT_EQ(key, static_cast<char>(233));
    then_ctrl('A');  // a shortcut: starts the animation, no character
    then_wait(100);
    EXPECT_EQ(await(), MORLU_PERIODIC);
    EXPECT_EQ(runtime.events.running, 1);
}

TEST_F(EventLoop, ClosingTheGraphicsWindowStopsTheTimerAndQuits) {
    open();
    canvas_set_animation(ANIMATE_RUN);
    then([this] {
        backend.inject({.kind = NativeEvent::Kind::close, .window = static_cast<uint32_t>(graphics())});
    });
    EXPECT_EQ(await(), MORLU_QUIT);
    EXPECT_FALSE(is_window(graphics()));
    EXPECT_EQ(now_ms(), 0);
}

TEST_F(EventLoop, TheQuitPassDoesNotCopyTheBackBuffer) {
    open();
    then([] {
        runtime.window.dirty = 1;
        post_quit_message(0);
    });
    EXPECT_EQ(await(), MORLU_QUIT);
    EXPECT_EQ(runtime.window.dirty, 1);
}

TEST_F(EventLoop, AQuitTakenDuringPlaybackStillReachesTheProgram) {
    std::FILE* f = std::fopen("MORLU.SCR", "w");
    std::fputs("MORLU_PERIODIC(100);\n", f);
    std::fclose(f);
    open();
    then([this] { post_message(graphics(), WM_COMMAND, CMD_PLAYBACK, 0); });
    EXPECT_EQ(await(), MORLU_PERIODIC);  // from the script, without waiting for a tick
    EXPECT_EQ(now_ms(), 0);
    // The quit message and a scripted event come in the same pass: the quit wins.
    post_quit_message(0);
    EXPECT_EQ(await(), MORLU_QUIT);
    // Closing the window during playback ends the program too.
    post_message(graphics(), WM_CLOSE, 0, 0);
    await();
    EXPECT_EQ(await(), MORLU_QUIT);
    std::remove("MORLU.SCR");
}

TEST_F(EventLoop, RecordingRunLengthCodesTicksBeforeTheNextEvent) {
    std::remove("MORLU.SCR");
    open();
    canvas_set_animation(ANIMATE_RUN);
    then_ctrl('R');
    then_wait(300);
    then_click(310, 230);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(await(), MORLU_PERIODIC);
    EXPECT_EQ(await(), MORLU_MOUSE);
    EXPECT_EQ(runtime.script.periodic_count, 0);
    then_ctrl('R');
    await();
    char text[200] = {};
    std::FILE* f = std::fopen("MORLU.SCR", "r");
    ASSERT_NE(f, nullptr);
    const size_t n = std::fread(text, 1, sizeof text - 1, f);
    std::fclose(f);
    EXPECT_EQ(std::string(text, n), "MORLU_PERIODIC(3);\nMORLU_MOUSE(10, 20);\n");
    std::remove("MORLU.SCR");
}

}  // namespace
}  // namespace morlu::testing
