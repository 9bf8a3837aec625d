#include "quit_watch.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <thread>

#include "quit_requests.h"
#include "report.h"

namespace morlu::platform {
namespace {

using Clock = std::chrono::steady_clock;

// A quit the program has not come back to its wait to see.
struct Unseen {
    Clock::time_point at;
    uint64_t entries = 0;  // waits entered before it came
    std::string cause;     // for the line: "Ctrl+Q", "Ctrl+C (SIGINT)", ...
    bool from_system = false;
};

struct Watch {
    std::atomic<bool> running{false};
    std::atomic<bool> in_wait{false};
    std::atomic<uint64_t> entries{0};
    std::mutex lock;  // guards what follows
    QuitWatchSetup setup;
    QuitInputs inputs;
    std::optional<Unseen> unseen;
    std::optional<Clock::time_point> delivered;
    bool delivered_from_system = false;  // the delivered quit came from a request of the system
    bool stopping = false;
    std::thread thread;
};

Watch watch;

std::string describe_input(const NativeEvent& e, const QuitInputs& quit) {
    if (e.kind == NativeEvent::Kind::close && e.window == quit.window) return "its window was closed";
    if (e.kind == NativeEvent::Kind::menu_command && e.command == quit.menu_command) return "Quit";
    if (e.kind == NativeEvent::Kind::key_down && e.vk == quit.ctrl_key && (e.mods & MOD_CONTROL))
        return "Ctrl+Q";
    return {};
}

// The caller holds the lock.
void note_unseen(std::string cause, bool from_system) {
    if (watch.unseen || watch.delivered) return;
    watch.unseen = Unseen{Clock::now(), watch.entries.load(), std::move(cause), from_system};
}

// Why the watch ends the program: its line, and whether the system asked.
struct Ending {
    std::string line;
    bool from_system = false;
};

// A quit came, the grace passed, and the program is not in its wait and has
// not entered it since: it never came back to see the quit. The caller holds the lock.
std::optional<Ending> check_unseen(Clock::time_point now) {
    if (!watch.unseen || now < watch.unseen->at + watch.setup.grace) return std::nullopt;
    const Unseen u = *watch.unseen;
    watch.unseen.reset();
    if (watch.in_wait.load() || watch.entries.load() != u.entries) return std::nullopt;
    return Ending{watch.setup.program + ": ended: after " + u.cause +
                      " it did not return to canvas_await_event within a second; a loop that never calls "
                      "canvas_await_event leaves its windows frozen",
                  u.from_system};
}

// The caller holds the lock.
std::optional<Ending> check_delivered(Clock::time_point now) {
    if (!watch.delivered || now < *watch.delivered + watch.setup.grace) return std::nullopt;
    return Ending{watch.setup.program +
                      ": ended: it went on for a second after canvas_await_event returned MORLU_QUIT; at "
                      "MORLU_QUIT leave the loop, call canvas_close and return",
                  watch.delivered_from_system};
}

[[noreturn]] void end_program(const Ending& ending, int status) {
    report_fatal_line("%s\n", ending.line.c_str());
    if (ending.from_system) end_as_requested();
    end_process(status);
}

// How long the watch may sleep before a grace ends.
Millis time_to_next(Clock::time_point now) {
    std::optional<Clock::time_point> next;
    if (watch.unseen) next = watch.unseen->at + watch.setup.grace;
    if (watch.delivered && (!next || *watch.delivered + watch.setup.grace < *next))
        next = *watch.delivered + watch.setup.grace;
    if (!next) return Millis::max();
    return std::chrono::ceil<Millis>(std::max(*next - now, Clock::duration::zero()));
}

void run_watch() {
    for (;;) {
        Millis sleep = Millis::max();
        std::function<void()> ask_to_close;
        std::optional<Ending> ending;
        int status = 0;
        {
            const std::lock_guard hold(watch.lock);
            if (watch.stopping) return;
            if (const char* request = take_quit_request()) {
                note_unseen(request, true);
                ask_to_close = watch.setup.ask_to_close;
            }
            const auto now = Clock::now();
            ending = check_unseen(now);
            if (!ending) ending = check_delivered(now);
            sleep = time_to_next(now);
            status = watch.setup.status;
        }
        // Outside the lock: the backend and the report may take locks of their own.
        if (ending) end_program(*ending, status);
        if (ask_to_close) ask_to_close();
        wait_for_watch(sleep);
    }
}

}  // namespace

void quit_watch_start(QuitWatchSetup setup) {
    quit_watch_stop();
    {
        const std::lock_guard hold(watch.lock);
        watch.setup = std::move(setup);
        watch.inputs = {};
        watch.unseen.reset();
        watch.delivered.reset();
        watch.delivered_from_system = false;
        watch.stopping = false;
    }
    watch.in_wait = false;
    watch.entries = 0;
    catch_quit_requests(watch.setup.program.c_str());
    watch.running = true;
    watch.thread = std::thread(run_watch);
}

void quit_watch_stop() {
    if (!watch.running.exchange(false)) return;
    {
        const std::lock_guard hold(watch.lock);
        watch.stopping = true;
    }
    wake_watch();
    watch.thread.join();
    release_quit_requests();
}

void quit_watch_set_inputs(const QuitInputs& inputs) {
    const std::lock_guard hold(watch.lock);
    watch.inputs = inputs;
}

void quit_watch_note_input(const NativeEvent& e) {
    if (!watch.running) return;
    {
        const std::lock_guard hold(watch.lock);
        std::string cause = describe_input(e, watch.inputs);
        if (cause.empty()) return;
        note_unseen(std::move(cause), false);
    }
    wake_watch();
}

void quit_watch_enter_wait() {
    watch.entries.fetch_add(1, std::memory_order_relaxed);
    watch.in_wait.store(true, std::memory_order_relaxed);
}

void quit_watch_leave_wait() {
    watch.in_wait.store(false, std::memory_order_relaxed);
}

void quit_watch_quit_delivered() {
    if (!watch.running) return;
    {
        const std::lock_guard hold(watch.lock);
        if (watch.delivered) return;
        watch.delivered = Clock::now();
        watch.delivered_from_system = watch.unseen && watch.unseen->from_system;
        watch.unseen.reset();
    }
    wake_watch();
}

}  // namespace morlu::platform
