#include "headless_backend.h"

#include <algorithm>

namespace morlu::platform {

HeadlessBackend::HeadlessBackend(Size screen) : screen_(screen) {
}

bool HeadlessBackend::create_window(WindowId id, const WindowPlan& plan) {
    // A new window shows black until the program presents its pixels.
    windows_.insert_or_assign(id, Shown{plan, Surface(plan.client, 0), false, {}});
    if (first_window_ == 0) first_window_ = id;
    return true;
}

void HeadlessBackend::destroy_window(WindowId id) {
    end_frame(id, true);
    if (id == first_window_) first_window_ = WindowId{~0u};  // a later window is not the first
    unshown_.erase(id);
    windows_.erase(id);
}

void HeadlessBackend::show_window(WindowId id, bool visible) {
    if (auto it = windows_.find(id); it != windows_.end()) it->second.visible = visible;
}

// Nobody looks at a headless window until the driver takes a snapshot, which
// it does only while the program waits, after the window layer has presented
// everything drawn: so a present only notes what changed, and the pixels are
// copied when they are looked at. A replay that presents every frame then
// costs no copy a frame.
void HeadlessBackend::present(WindowId id, const Surface& pixels, const PixelBox& box) {
    auto it = windows_.find(id);
    if (it == windows_.end()) return;
    Unshown& u = unshown_[id];
    u.box = u.source ? unite(u.box, box) : box;
    u.source = &pixels;
    if (frame_handler_) {
        const auto [at, fresh] = unframed_.try_emplace(id, box);
        if (!fresh) at->second = unite(at->second, box);
    }
}

void HeadlessBackend::end_frames() {
    if (!frame_handler_) return;
    while (!unframed_.empty()) end_frame(unframed_.begin()->first, false);
}

void HeadlessBackend::end_frame(WindowId id, bool closing) {
    const auto changed = unframed_.find(id);
    if (!frame_handler_ || (changed == unframed_.end() && !closing)) return;
    const PixelBox box = changed == unframed_.end() ? PixelBox{} : changed->second;
    if (changed != unframed_.end()) unframed_.erase(changed);
    const Shown* window = shown(id);
    if (window) frame_handler_({id, &window->pixels, box, now_, closing});
}

void HeadlessBackend::catch_up(WindowId id) const {
    const auto pending = unshown_.find(id);
    const auto it = windows_.find(id);
    if (pending == unshown_.end() || it == windows_.end()) return;
    const Unshown& u = pending->second;
    Surface& shown = it->second.pixels;
    if (shown.size() != u.source->size()) shown.resize(u.source->size());
    if (const auto box = intersect(u.box, shown.bounds())) copy_box(shown, *u.source, *box);
    unshown_.erase(pending);
}

void HeadlessBackend::set_menu_bar(WindowId id, const MenuBar& bar) {
    if (auto it = windows_.find(id); it != windows_.end()) it->second.menu = bar;
}

void HeadlessBackend::set_menu_check(WindowId id, uint32_t command, bool checked) {
    auto it = windows_.find(id);
    if (it == windows_.end()) return;
    for (MenuPopup& popup : it->second.menu.popups)
        for (MenuEntry& entry : popup.entries)
            if (entry.kind == MenuEntry::Kind::item && entry.id == command) entry.checked = checked;
}

void HeadlessBackend::take_close_request() {
    if (!close_asked_.exchange(false) || !windows_.contains(first_window_)) return;
    pending_.push_back({.kind = NativeEvent::Kind::close, .window = first_window_});
}

void HeadlessBackend::poll_events(std::vector<NativeEvent>& out) {
    take_close_request();
    out.insert(out.end(), pending_.begin(), pending_.end());
    pending_.clear();
}

WaitResult HeadlessBackend::wait_events(Millis deadline) {
    for (;;) {
        take_close_request();
        if (!pending_.empty()) return WaitResult::event;
        if (now_ >= deadline) return WaitResult::deadline;
        if (now_ < wait_until_) {
            end_frames();
            now_ = std::min(deadline, wait_until_);
            continue;
        }
        if (!idle_ || !idle_()) return WaitResult::idle;
    }
}

const HeadlessBackend::Shown* HeadlessBackend::shown(WindowId id) const {
    catch_up(id);
    const auto it = windows_.find(id);
    return it == windows_.end() ? nullptr : &it->second;
}

std::optional<WindowId> HeadlessBackend::find(std::string_view title) const {
    for (const auto& [id, w] : windows_)
        if (w.plan.title == title) return id;
    return std::nullopt;
}

}  // namespace morlu::platform
