// canvas_await_event: the program's only source of input and of time.
#include "platform/process/quit_watch.h"
#include "runtime_state.h"

using namespace morlu::platform;

namespace {

// True when the pass has made its event: a user event ends the wait at once, a
// made periodic event waits for the timer message that follows it.
bool event_ready() {
    const auto& e = runtime.events;
    return e.pending_kind != NO_EVENT && (e.pending_kind != MORLU_PERIODIC || e.timer_ticked);
}

// One pass of the wait. Returns true to leave the wait; sets `idle` when the pass
// changed nothing and only a new message can change anything.
bool run_pass(bool& idle) {
    auto& e = runtime.events;
    auto& s = runtime.script;
    idle = false;
    if (event_ready()) return true;
    const bool took_message = pump_one_message();
    // A quit must reach the program even when a script would deliver an event in this pass.
    if (e.pending_kind == MORLU_QUIT) return true;
    const bool read_script = s.play_one || s.playback;
    if (read_script) {
        const uint8_t one = s.play_one;
        s.play_one = 0;
        const int read = script_read_event();
        if (read == 1) return true;
        // A long run of blank lines: the same play goes on in the next pass, after a message.
        s.play_one = read == SCRIPT_NOT_YET ? one : 0;
        if (read != SCRIPT_NOT_YET) s.playback = 0;
    }
    if ((e.single_step || e.running) && e.pending_kind == NO_EVENT) {
        e.timer_ticked = 0;
        e.pending_kind = MORLU_PERIODIC;
        e.single_step = 0;
        s.play_one = 0;
        return false;
    }
    idle = !took_message && !read_script;
    return false;
}

// The wait hands the program the quit: the windows close now, whatever the
// program does next, and the watch gives it a grace to end.
void deliver_quit() {
    quit_watch_quit_delivered();
    show_window(runtime.window.graphics_window, SW_HIDE);
    show_window(runtime.window.text_window, SW_HIDE);
}

}  // namespace

int canvas_await_event(int* mouse_x, int* mouse_y, char* key) {
    quit_watch_enter_wait();
    auto& e = runtime.events;
    e.pending_kind = NO_EVENT;
    e.event_key = 0;
    e.event_y = 0;
    e.event_x = 0;
    // Without a graphics window no input and no tick can ever come.
    if (runtime.window.graphics_window == Hwnd::none) e.pending_kind = MORLU_QUIT;
    for (bool idle = false; !run_pass(idle);) {
        // Polling again would change nothing: sleep until a message comes. When
        // none ever can (a headless run whose actions are used up), end as if
        // the user had closed the window.
        if (idle && !wait_message()) e.pending_kind = MORLU_QUIT;
    }
    if (runtime.script.recording) script_record_event();
    if (mouse_x) *mouse_x = e.event_x;
    if (mouse_y) *mouse_y = e.event_y;
    if (key) *key = static_cast<char>(e.event_key);
    if (e.pending_kind == MORLU_QUIT) deliver_quit();
    quit_watch_leave_wait();
    return e.quit_requested ? MORLU_QUIT : e.pending_kind;
}

bool pump_one_message() {
    Msg msg;
    const bool took = peek_message(&msg) != 0;
    if (took) {
        if (msg.message == WM_QUIT) {
            runtime.events.pending_kind = MORLU_QUIT;
            return true;
        }
        translate_message(&msg);
        dispatch_message(&msg);
    }
    if (runtime.window.dirty == 1) copy_to_screen();
    return took;
}

int canvas_set_animation(int mode) {
    auto& e = runtime.events;
    if (runtime.window.graphics_window == Hwnd::none) return 0;
    switch (mode) {
        case ANIMATE_HALT:
            e.running = e.single_step = 0;
            break;
        case ANIMATE_STEP:
            e.single_step = 1;
            break;
        case ANIMATE_RUN:
            e.running = 1;
            break;
        case ANIMATE_QUIT:
            e.quit_requested = 1;
            break;
        default:
            break;
    }
    return 1;
}

void on_timer() {
    runtime.events.timer_ticked = 1;
}

void on_left_button_down(LParam lparam) {
    auto& e = runtime.events;
    e.pending_kind = MORLU_MOUSE;
    e.event_x = static_cast<int32_t>(loword(lparam)) - runtime.window.origin_x;
    e.event_y = runtime.window.origin_y - static_cast<int32_t>(hiword(lparam));
}

void on_char(WParam wparam) {
    if (runtime.menu.ctrl_down == 1) return;
    runtime.events.pending_kind = MORLU_KBD;
    runtime.events.event_key = static_cast<int8_t>(static_cast<uint8_t>(wparam & 0xFF));
}
