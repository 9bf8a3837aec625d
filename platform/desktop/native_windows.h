// The native windows a desktop toolkit made, by the platform's window id: the
// bookkeeping every desktop edition keeps the same way. Used on the toolkit's
// thread only.
#pragma once

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "../window/backend.h"

namespace morlu::platform {

template <class Native>
class NativeWindows {
public:
    // Keep the window `make()` gives for `id` (a pointer, empty when the
    // toolkit refuses). False when `id` has a window already or none was made.
    template <class Make>
    bool create(WindowId id, Make&& make) {
        if (windows_.contains(id)) return false;
        std::shared_ptr<Native> window = std::forward<Make>(make)();
        if (!window) return false;
        windows_.emplace(id, std::move(window));
        return true;
    }

    // The window of `id`, or nullptr when it has none.
    Native* find(WindowId id) const {
        const auto it = windows_.find(id);
        return it == windows_.end() ? nullptr : it->second.get();
    }

    // Forget the window of `id` and hand it to the caller, who destroys it;
    // empty when it has none.
    std::shared_ptr<Native> take(WindowId id) {
        const auto it = windows_.find(id);
        if (it == windows_.end()) return nullptr;
        std::shared_ptr<Native> window = std::move(it->second);
        windows_.erase(it);
        return window;
    }

    // Forget every window and hand them all to the caller: the toolkit ends.
    std::vector<std::shared_ptr<Native>> take_all() {
        std::vector<std::shared_ptr<Native>> all;
        for (auto& [id, window] : windows_) all.push_back(std::move(window));
        windows_.clear();
        return all;
    }

private:
    std::map<WindowId, std::shared_ptr<Native>> windows_;
};

}  // namespace morlu::platform
