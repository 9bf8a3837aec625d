// What the user did in a desktop edition's windows, handed from the thread that
// runs the window system to the program's thread. The window system's thread
// reports; the program's thread takes, or sleeps until there is something to take.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "../window/backend.h"

namespace morlu::platform {

class DesktopEvents {
public:
    // The window system's thread: the user did `e`. Wakes the program's thread.
    void report(const NativeEvent& e);
    // Any thread: the user asked the program to end from outside its windows (a
    // signal, the console's Ctrl+C): a close of the first window made, while it
    // lives, as its close button would report.
    void ask_to_close();

    // The program's thread: move every report into `out`, oldest first.
    void take(std::vector<NativeEvent>& out);
    // The program's thread: sleep until a report comes or the clock `now` of
    // `backend` reaches `deadline` (Millis::max() for none). True when reports wait.
    bool wait_until(const Backend& backend, Millis deadline);

    // Windows the program made, in order: the first is the one asked to close.
    void window_made(WindowId id);
    // A window that is gone: what the user did in it can no longer reach anyone.
    void window_gone(WindowId id);

    // Modifier keys (MOD_ flags) reported down and not yet up; the window
    // system's thread alone reads and writes it.
    uint32_t held_mods = 0;

private:
    std::mutex lock_;
    std::condition_variable arrived_;
    std::vector<NativeEvent> pending_;
    std::atomic<WindowId> main_window_{0};
};

}  // namespace morlu::platform
