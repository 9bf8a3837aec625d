#include <algorithm>

#include "platform_state.h"

namespace morlu::platform {
namespace {

Window* window_needing_paint() {
    for (auto& [id, w] : platform_state.windows)
        if (w.visible && w.needs_paint) return &w;
    return nullptr;
}

bool message_available() {
    return !platform_state.queue.empty() || platform_state.quit_pending || window_needing_paint() ||
           (platform_state.backend && next_timer_due() <= platform_state.backend->now());
}

}  // namespace

void pump_backend() {
    if (!platform_state.backend) return;
    auto& events = platform_state.native_events;
    events.clear();
    platform_state.backend->poll_events(events);
    for (const NativeEvent& e : events) queue_native_event(e);
}

void present_damage() {
    for (auto& [id, w] : platform_state.windows) {
        if (w.damage.empty()) continue;
        if (w.native) platform_state.backend->present(id, w.pixels, w.damage);
        w.damage = {};
    }
}

int peek_message(Msg* msg) {
    if (!msg) return fail(0, "peek_message: no message record");
    present_damage();
    pump_backend();
    auto& queue = platform_state.queue;
    if (!queue.empty()) {
        *msg = queue.front();
        queue.pop_front();
        return 1;
    }
    if (platform_state.quit_pending) {
        platform_state.quit_pending = false;
        *msg = {Hwnd::none, WM_QUIT, static_cast<WParam>(platform_state.quit_code), 0};
        return 1;
    }
    // WM_PAINT stays available until the window is validated, as on the platform.
    if (const Window* w = window_needing_paint()) {
        *msg = {w->handle, WM_PAINT, 0, 0};
        return 1;
    }
    return take_due_timer(msg) ? 1 : 0;
}

int translate_message(const Msg* msg) {
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return 0;
    if (!(msg->lparam & KEY_HAS_CHAR)) return 0;
    const uint32_t kind = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    const auto character = static_cast<WParam>((msg->lparam >> 16) & 0xFF);
    platform_state.queue.push_front({msg->hwnd, kind, character, msg->lparam});
    return 1;
}

LResult dispatch_message(const Msg* msg) {
    if (!msg || !find_window_record(msg->hwnd)) return 0;
    return send_message(msg->hwnd, msg->message, msg->wparam, msg->lparam);
}

int post_message(Hwnd hwnd, uint32_t message, WParam wparam, LParam lparam) {
    if (!find_window_record(hwnd)) return fail(0, "post_message: no such window");
    platform_state.queue.push_back({hwnd, message, wparam, lparam});
    return 1;
}

void post_quit_message(int exit_code) {
    platform_state.quit_pending = true;
    platform_state.quit_code = exit_code;
}

int wait_message() {
    Backend* backend = platform_state.backend;
    if (!backend) return fail(0, "wait_message: the platform is not started");
    present_damage();
    for (;;) {
        pump_backend();
        if (message_available()) return 1;
        if (backend->wait_events(next_timer_due()) == WaitResult::idle) {
            pump_backend();
            return message_available() ? 1 : 0;
        }
    }
}

}  // namespace morlu::platform
