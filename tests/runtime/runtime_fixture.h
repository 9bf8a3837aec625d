// A runtime on the headless backend, in a scratch folder of the test's own, with user actions that the test
// queues up and the backend performs, one each time the program waits with nothing to do.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "platform/headless/headless_backend.h"
#include "platform/window/platform.h"
#include "runtime_session.h"
#include "runtime_state.h"
#include "scratch_folder.h"

namespace morlu::testing {

using namespace morlu::platform;

class RuntimeTest : public ::testing::Test {
protected:
    explicit RuntimeTest(Size screen = {1024, 768}) : backend(screen) {
    }

    void SetUp() override {
        runtime_start(backend);
        backend.set_idle_handler([this] { return perform_next(); });
    }
    void TearDown() override {
        runtime_stop();
    }

    void open() {
        canvas_open(1, 0, "", SW_SHOW);
    }
    Hwnd graphics() const {
        return runtime.window.graphics_window;
    }
    Hwnd text() const {
        return runtime.window.text_window;
    }

    // Queue a user action; with no actions left, the program's waits end as if
    // the window had been closed (MORLU_QUIT).
    void then(std::function<void()> action) {
        actions.push_back(std::move(action));
    }
    void then_wait(int ms) {
        then([this, ms] { backend.let_time_pass(Millis{ms}); });
    }
    void then_click(int px, int py) {
        then([this, px, py] { inject_click(px, py); });
    }
    void then_key(uint32_t vk, int codepoint, uint32_t mods = 0, Hwnd target = Hwnd::none) {
        then([=, this] { inject_key(vk, codepoint, mods, target); });
    }
    void then_ctrl(char letter, Hwnd target = Hwnd::none) {
        then([=, this] {
            const Hwnd to = target == Hwnd::none ? graphics() : target;
            inject_native(NativeEvent::Kind::key_down, to, VK_CONTROL, -1, 0);
            inject_native(NativeEvent::Kind::key_down, to, static_cast<uint32_t>(letter), letter - 'A' + 'a',
                          MOD_CONTROL);
            inject_native(NativeEvent::Kind::key_up, to, static_cast<uint32_t>(letter), -1, MOD_CONTROL);
            inject_native(NativeEvent::Kind::key_up, to, VK_CONTROL, -1, MOD_CONTROL);
        });
    }

    void inject_click(int px, int py) {
        backend.inject({.kind = NativeEvent::Kind::mouse_down,
                        .window = static_cast<uint32_t>(graphics()),
                        .x = px,
                        .y = py});
    }
    void inject_key(uint32_t vk, int codepoint, uint32_t mods = 0, Hwnd target = Hwnd::none) {
        const Hwnd to = target == Hwnd::none ? graphics() : target;
        inject_native(NativeEvent::Kind::key_down, to, vk, codepoint, mods);
        inject_native(NativeEvent::Kind::key_up, to, vk, -1, mods);
    }
    void inject_native(NativeEvent::Kind kind, Hwnd to, uint32_t vk, int codepoint, uint32_t mods) {
        backend.inject({.kind = kind,
                        .window = static_cast<uint32_t>(to),
                        .vk = vk,
                        .codepoint = codepoint,
                        .mods = mods});
    }

    // One wait of the program, remembering what it stored in the caller's variables.
    int await() {
        return canvas_await_event(&x, &y, &key);
    }
    long now_ms() const {
        return static_cast<long>(backend.now().count());
    }

    ScratchFolder scratch;  // first: the runtime opens MORLU.SCR in the current folder
    HeadlessBackend backend;
    std::deque<std::function<void()>> actions;
    int x = -99;
    int y = -99;
    char key = 99;

private:
    bool perform_next() {
        if (actions.empty()) return false;
        auto action = std::move(actions.front());
        actions.pop_front();
        action();
        return true;
    }
};

}  // namespace morlu::testing
