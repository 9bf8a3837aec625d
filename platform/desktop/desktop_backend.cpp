// The backend of both desktop editions: the window system runs on a thread of
// its own and reports into DesktopEvents; the program's thread hands it work
// and frames. What differs between editions is behind Toolkit.
#include <chrono>
#include <future>
#include <map>
#include <thread>

#include "toolkit.h"

namespace morlu::platform {
namespace {

class DesktopBackend final : public Backend {
public:
    DesktopBackend() = default;
    DesktopBackend(const DesktopBackend&) = delete;
    DesktopBackend& operator=(const DesktopBackend&) = delete;
    ~DesktopBackend() override;

    // Start the toolkit's thread and make the toolkit there; false, with `error`
    // set, when it gives none (the thread has then ended).
    bool start(ToolkitMaker make, std::string& error);

    bool create_window(WindowId id, const WindowPlan& plan) override;
    void destroy_window(WindowId id) override;
    void show_window(WindowId id, bool visible) override;
    void present(WindowId id, const Surface& pixels, const PixelBox& box) override;
    void set_menu_bar(WindowId id, const MenuBar& bar) override;
    void set_menu_check(WindowId id, uint32_t command, bool checked) override;
    void poll_events(std::vector<NativeEvent>& out) override;
    WaitResult wait_events(Millis deadline) override;
    void ask_to_close() override;
    Millis now() const override;
    Size screen_size() const override;

private:
    // Run `task` on the toolkit's thread and wait until it is done.
    template <typename Task>
    auto call(Task task) const -> decltype(task());

    void run_toolkit(const ToolkitMaker& make, std::promise<std::string>& made);

    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    DesktopEvents events_;
    std::unique_ptr<Toolkit> toolkit_;  // made, used and destroyed on thread_
    std::thread thread_;
    std::map<WindowId, std::shared_ptr<WindowPixels>> pixels_;
};

template <typename Task>
auto DesktopBackend::call(Task task) const -> decltype(task()) {
    using Result = decltype(task());
    std::promise<Result> done;
    toolkit_->post([&] {
        if constexpr (std::is_void_v<Result>) {
            task();
            done.set_value();
        } else {
            done.set_value(task());
        }
    });
    return done.get_future().get();
}

void DesktopBackend::run_toolkit(const ToolkitMaker& make, std::promise<std::string>& made) {
    std::string error;
    toolkit_ = make(events_, error);
    if (!toolkit_) {
        made.set_value(error.empty() ? "cannot open the desktop" : error);
        return;
    }
    made.set_value({});
    toolkit_->run_loop();
    toolkit_.reset();
}

bool DesktopBackend::start(ToolkitMaker make, std::string& error) {
    std::promise<std::string> made;
    thread_ = std::thread([this, &make, &made] { run_toolkit(make, made); });
    error = made.get_future().get();
    if (error.empty()) return true;
    thread_.join();
    return false;
}

DesktopBackend::~DesktopBackend() {
    if (!thread_.joinable()) return;
    if (toolkit_) toolkit_->post([this] { toolkit_->stop_loop(); });
    thread_.join();
}

bool DesktopBackend::create_window(WindowId id, const WindowPlan& plan) {
    if (pixels_.contains(id)) return false;
    auto pixels = std::make_shared<WindowPixels>();
    if (!call([&] { return toolkit_->create_window(id, plan, pixels); })) return false;
    pixels_.emplace(id, std::move(pixels));
    events_.window_made(id);
    return true;
}

void DesktopBackend::destroy_window(WindowId id) {
    if (pixels_.erase(id) == 0) return;
    call([&] { toolkit_->destroy_window(id); });
    events_.window_gone(id);
}

// Not waited for: at a quit the windows close while the program has a second
// to end, and a window system may take its time to hide a window (Wine without
// a window manager waits up to two seconds for one that never answers).
void DesktopBackend::show_window(WindowId id, bool visible) {
    if (pixels_.contains(id)) toolkit_->post([this, id, visible] { toolkit_->show_window(id, visible); });
}

// The frame is copied here, so `pixels` is read only during the call; the
// toolkit paints the copy when its loop comes to it.
void DesktopBackend::present(WindowId id, const Surface& pixels, const PixelBox& box) {
    const auto it = pixels_.find(id);
    if (it == pixels_.end()) return;
    WindowPixels& shown = *it->second;
    std::optional<PixelBox> copied;
    {
        const std::lock_guard hold(shown.lock);
        copied = raster::intersect(
            box, raster::intersect(shown.pixels.bounds(), pixels.bounds()).value_or(PixelBox{}));
        if (!copied) return;
        copy_box(shown.pixels, pixels, *copied);
    }
    toolkit_->post([this, id, box = *copied] { toolkit_->repaint(id, box); });
}

void DesktopBackend::set_menu_bar(WindowId id, const MenuBar& bar) {
    if (pixels_.contains(id)) call([&] { toolkit_->set_menu_bar(id, bar); });
}

void DesktopBackend::set_menu_check(WindowId id, uint32_t command, bool checked) {
    if (pixels_.contains(id)) call([&] { toolkit_->set_menu_check(id, command, checked); });
}

void DesktopBackend::poll_events(std::vector<NativeEvent>& out) {
    events_.take(out);
}

WaitResult DesktopBackend::wait_events(Millis deadline) {
    return events_.wait_until(*this, deadline) ? WaitResult::event : WaitResult::deadline;
}

void DesktopBackend::ask_to_close() {
    events_.ask_to_close();
}

Millis DesktopBackend::now() const {
    return std::chrono::duration_cast<Millis>(std::chrono::steady_clock::now() - start_);
}

Size DesktopBackend::screen_size() const {
    return call([this] { return toolkit_->screen_size(); });
}

}  // namespace

std::unique_ptr<Backend> make_desktop_backend(ToolkitMaker make, std::string& error) {
    auto backend = std::make_unique<DesktopBackend>();
    if (!backend->start(std::move(make), error)) return nullptr;
    return backend;
}

}  // namespace morlu::platform
