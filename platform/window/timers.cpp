#include <algorithm>

#include "platform_state.h"

namespace morlu::platform {

uintptr_t set_timer(Hwnd hwnd, uintptr_t id, uint32_t ms) {
    if (!platform_state.backend) return fail(uintptr_t{0}, "set_timer: the platform is not started");
    if (!find_window_record(hwnd)) return fail(uintptr_t{0}, "set_timer: no such window");
    // The platform raises periods below 10 ms to 10 ms; it also keeps a zero
    // period from firing on every pass.
    const Millis period{std::max<uint32_t>(ms, 10)};
    const Millis due = platform_state.backend->now() + period;
    for (Timer& t : platform_state.timers) {
        if (t.hwnd == hwnd && t.id == id) {
            t.period = period;
            t.due = due;
            return id == 0 ? 1 : id;
        }
    }
    platform_state.timers.push_back({hwnd, id, period, due});
    return id == 0 ? 1 : id;
}

int kill_timer(Hwnd hwnd, uintptr_t id) {
    auto& timers = platform_state.timers;
    const auto gone = std::erase_if(timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    return gone ? 1 : fail(0, "kill_timer: no such timer");
}

void drop_window_timers(Hwnd hwnd) {
    std::erase_if(platform_state.timers, [&](const Timer& t) { return t.hwnd == hwnd; });
}

Millis next_timer_due() {
    Millis next = Millis::max();
    for (const Timer& t : platform_state.timers) next = std::min(next, t.due);
    return next;
}

bool take_due_timer(Msg* msg) {
    if (!platform_state.backend) return false;
    const Millis now = platform_state.backend->now();
    Timer* due = nullptr;
    for (Timer& t : platform_state.timers)
        if (t.due <= now && (!due || t.due < due->due)) due = &t;
    if (!due) return false;
    // Expiries missed while the program was busy are merged into this one message.
    const auto missed = (now - due->due) / due->period;
    due->due += due->period * (missed + 1);
    *msg = {due->hwnd, WM_TIMER, due->id, 0};
    return true;
}

}  // namespace morlu::platform
