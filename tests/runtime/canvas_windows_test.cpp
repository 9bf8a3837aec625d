#include <algorithm>
#include <string>
#include <vector>

#include "runtime_fixture.h"

namespace morlu::testing {
namespace {

RectL outer_of(HeadlessBackend& backend, Hwnd hwnd) {
    const auto* shown = backend.shown(static_cast<uint32_t>(hwnd));
    return {shown->plan.x, shown->plan.y, shown->plan.client.w, shown->plan.client.h};
}

class SmallScreen : public RuntimeTest {
protected:
    SmallScreen() : RuntimeTest({800, 600}) {
    }
};
class LargeScreen : public RuntimeTest {
protected:
    LargeScreen() : RuntimeTest({1280, 1024}) {
    }
};

TEST_F(SmallScreen, TheTextWindowCoversTheBottomThird) {
    open();
    const RectL r = outer_of(backend, text());
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 401);
    EXPECT_EQ(r.right, 800);                                      // client width: the window's full width
    EXPECT_EQ(r.bottom, 200 - get_system_metrics(SM_CYCAPTION));  // 200 less the caption
}

TEST_F(LargeScreen, TheTextWindowEndsAtTheScreensBottomEdge) {
    open();
    const RectL r = outer_of(backend, text());
    EXPECT_EQ(r.top, 683);
    EXPECT_EQ(r.bottom, 341 - get_system_metrics(SM_CYCAPTION));
}

class CanvasWindows : public RuntimeTest {};

TEST_F(CanvasWindows, TheGraphicsWindowHasA601By501ClientUnderItsMenu) {
    open();
    RectL client;
    get_client_rect(graphics(), &client);
    EXPECT_EQ(client.right, 601);
    EXPECT_EQ(client.bottom, 501);
    EXPECT_EQ(runtime.window.origin_x, 300);
    EXPECT_EQ(runtime.window.origin_y, 250);
    EXPECT_NE(get_menu(graphics()), Hmenu::none);
    EXPECT_TRUE(is_window_visible(graphics()));
    EXPECT_TRUE(is_window_visible(text()));
}

TEST_F(CanvasWindows, AnotherClientSizeMovesTheOrigin) {
    open();
    then([this] {
        backend.inject({.kind = NativeEvent::Kind::resized,
                        .window = static_cast<uint32_t>(graphics()),
                        .size = {595, 495}});
        inject_click(297, 247);
        inject_click(0, 0);
    });
    EXPECT_EQ(await(), MORLU_MOUSE);
    EXPECT_EQ(runtime.window.origin_x, 297);
    EXPECT_EQ(runtime.window.origin_y, 247);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(await(), MORLU_MOUSE);
    EXPECT_EQ(x, -297);
    EXPECT_EQ(y, 247);
}

TEST_F(CanvasWindows, TheFirstPassCopiesTheBackBufferAsCreated) {
    open();
    EXPECT_EQ(runtime.window.dirty, 1);
    pump_one_message();
    EXPECT_EQ(runtime.window.dirty, 0);
    // A new bitmap is black, and the copy shows it.
    EXPECT_EQ(window_surface(graphics())->at(300, 250), 0u);
}

TEST_F(CanvasWindows, APaintRequestCopiesEvenWhenNotDirty) {
    open();
    canvas_clear();
    pump_one_message();
    ASSERT_EQ(runtime.window.dirty, 0);
    const Hdc dc = get_dc(graphics());
    rectangle(dc, 0, 0, 700, 700);  // scribble black over the window
    release_dc(graphics(), dc);
    invalidate_rect(graphics(), nullptr, 0);
    Msg msg;
    ASSERT_TRUE(peek_message(&msg));
    EXPECT_EQ(msg.message, WM_PAINT);
    dispatch_message(&msg);
    EXPECT_EQ(runtime.window.dirty, 0);
    EXPECT_EQ(window_surface(graphics())->at(300, 250), 0xFFFFFFu);
}

TEST_F(CanvasWindows, ClearLeavesABlackFrameAndWhiteInside) {
    open();
    canvas_clear();
    const Surface* buffer = dc_surface(runtime.window.buffer_dc);
    ASSERT_EQ(buffer->size(), (Size{601, 540}));
    for (auto [px, py] : {std::pair{0, 0}, {600, 539}, {300, 0}, {0, 270}, {600, 100}, {17, 539}})
        EXPECT_EQ(buffer->at(px, py), 0u) << px << "," << py;
    for (auto [px, py] : {std::pair{1, 1}, {599, 538}, {300, 270}})
        EXPECT_EQ(buffer->at(px, py), 0xFFFFFFu) << px << "," << py;
    EXPECT_EQ(runtime.window.dirty, 1);
}

TEST_F(CanvasWindows, CloseReleasesTheWindowContext) {
    open();
    const Hdc dc = runtime.window.window_dc;
    EXPECT_NE(dc_surface(dc), nullptr);
    EXPECT_EQ(canvas_close(), 1);
    EXPECT_EQ(dc_surface(dc), nullptr);
    EXPECT_TRUE(is_window(graphics()));
}

// Every operation a program can call, with arguments that draw and log.
void call_everything() {
    int x = 0, y = 0;
    char key = 0;
    EXPECT_EQ(canvas_await_event(&x, &y, &key), MORLU_QUIT);
    canvas_set_logging(1);
    canvas_clear();
    canvas_circle(3, 0, 0, 20);
    canvas_triangle(4, 0, 0, 10, 0, 0, 10, 2);
    canvas_rectangle(5, -10, -10, 10, 10, 0);
    canvas_line(6, -300, 0, 300, 0, 3);
    canvas_text(7, 0, 0, 12, "text");
    EXPECT_EQ(canvas_printf(8, 0, 0, 12, "%d", 42), 2);
    EXPECT_EQ(log_printf("%s\n", "line"), 5);
    canvas_close();
}

constexpr const char* NOT_STARTED =
    "canvas_open: morlu was not started, so no window can open: this program has a main of its own; "
    "remove it (morlu's main then calls app_main), or end it with return morlu_main(argc, argv, app_main);\n";
constexpr const char* BEFORE_OPEN =
    "canvas_clear: called before canvas_open, so nothing was drawn; call canvas_open first";
constexpr const char* AFTER_CLOSE =
    "canvas_clear: called after canvas_close, so it will never be shown; draw before canvas_close";

// A program whose main does not start morlu (no backend) gets an answer from
// every call: no window, no crash, a wait that ends at once, and one line that
// says why and what to do.
TEST(CanvasOutsideARun, EveryCallIsSafeWithoutABackendAndOneLineSaysWhy) {
    runtime_stop();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(canvas_set_animation(ANIMATE_RUN), 0);
    EXPECT_EQ(canvas_open(1, 0, "", SW_SHOW), 1);
    EXPECT_EQ(runtime.window.graphics_window, Hwnd::none);
    EXPECT_EQ(canvas_set_logging(0), 0);
    call_everything();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), NOT_STARTED);
    runtime_stop();
}

// Before canvas_open and after canvas_close on a running backend: the calls
// return as they always did, and the first drawing call of each mistake is told
// once, on stderr and in the log.
TEST_F(CanvasWindows, CallsBeforeOpenAndAfterCloseAreSafeAndToldOnce) {
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(canvas_set_animation(ANIMATE_RUN), 0);
    call_everything();
    open();
    canvas_close();
    call_everything();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), std::string(BEFORE_OPEN) + "\n" + AFTER_CLOSE + "\n");
    const std::vector<std::string> log = log_stored_lines();
    EXPECT_EQ(std::count(log.begin(), log.end(), BEFORE_OPEN), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), AFTER_CLOSE), 1);
}

}  // namespace
}  // namespace morlu::testing
