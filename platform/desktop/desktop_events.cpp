#include "desktop_events.h"

#include <algorithm>

#include "../process/quit_watch.h"

namespace morlu::platform {
namespace {

// The first window made is gone: no later window takes its place.
constexpr WindowId MAIN_GONE = ~WindowId{0};

}  // namespace

void DesktopEvents::report(const NativeEvent& e) {
    // The watch sees a quit even while the program is away from its wait and
    // will not take it for a while, or ever.
    quit_watch_note_input(e);
    {
        const std::lock_guard hold(lock_);
        pending_.push_back(e);
    }
    arrived_.notify_one();
}

void DesktopEvents::ask_to_close() {
    const WindowId main = main_window_.load();
    if (main == 0 || main == MAIN_GONE) return;
    NativeEvent e;
    e.kind = NativeEvent::Kind::close;
    e.window = main;
    {
        const std::lock_guard hold(lock_);
        pending_.push_back(e);
    }
    arrived_.notify_one();
}

void DesktopEvents::take(std::vector<NativeEvent>& out) {
    const std::lock_guard hold(lock_);
    out.insert(out.end(), pending_.begin(), pending_.end());
    pending_.clear();
}

bool DesktopEvents::wait_until(const Backend& backend, Millis deadline) {
    std::unique_lock hold(lock_);
    const auto has_reports = [this] { return !pending_.empty(); };
    if (deadline == Millis::max()) {
        arrived_.wait(hold, has_reports);
        return true;
    }
    const Millis left = deadline - std::min(deadline, backend.now());
    return arrived_.wait_for(hold, left, has_reports);
}

void DesktopEvents::window_made(WindowId id) {
    WindowId none = 0;
    main_window_.compare_exchange_strong(none, id);
}

void DesktopEvents::window_gone(WindowId id) {
    WindowId main = id;
    main_window_.compare_exchange_strong(main, MAIN_GONE);
    const std::lock_guard hold(lock_);
    std::erase_if(pending_, [id](const NativeEvent& e) { return e.window == id; });
}

}  // namespace morlu::platform
