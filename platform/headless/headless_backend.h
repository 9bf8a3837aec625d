// Windows that live in memory. Time moves only when the driver lets it, so a run
// driven by the same actions gives the same pixels and the same messages.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "../window/backend.h"

namespace morlu::platform {

class HeadlessBackend final : public Backend {
public:
    // What the program waits on has not come: act (inject input, let time pass)
    // and return true, or return false when there is nothing left to do.
    using IdleHandler = std::function<bool()>;
    // What a window showed from one moment of virtual time on: its pixels, the
    // part that changed since its last frame, and whether the window is about to
    // be destroyed (then `changed` may be empty: nothing more will be shown).
    struct Frame {
        WindowId window = 0;
        const Surface* pixels = nullptr;
        PixelBox changed;
        Millis now{0};
        bool closing = false;
    };
    using FrameHandler = std::function<void(const Frame&)>;

    explicit HeadlessBackend(Size screen = {1024, 768});

    bool create_window(WindowId id, const WindowPlan& plan) override;
    void destroy_window(WindowId id) override;
    void show_window(WindowId id, bool visible) override;
    void present(WindowId id, const Surface& pixels, const PixelBox& box) override;
    void set_menu_bar(WindowId id, const MenuBar& bar) override;
    void set_menu_check(WindowId id, uint32_t command, bool checked) override;
    void poll_events(std::vector<NativeEvent>& out) override;
    // Returns at once when input is pending or the clock has reached the deadline;
    // otherwise lets time run on to the end of a wait the driver asked for, or
    // asks the idle handler for the next action.
    WaitResult wait_events(Millis deadline) override;
    // A signal's watcher may call it while the program's thread runs the driver.
    void ask_to_close() override {
        close_asked_ = true;
    }
    Millis now() const override {
        return now_;
    }
    Size screen_size() const override {
        return screen_;
    }

    // For the tape driver and tests; not part of Backend.
    void set_idle_handler(IdleHandler handler) {
        idle_ = std::move(handler);
    }
    // Called for each window whose pixels changed, once the program has drawn
    // everything of a moment: before the clock moves on and before the window
    // is destroyed. Several presents at one moment make one frame.
    void set_frame_handler(FrameHandler handler) {
        frame_handler_ = std::move(handler);
    }
    void inject(const NativeEvent& e) {
        pending_.push_back(e);
    }
    // Let `ms` of virtual time pass while the program waits.
    void let_time_pass(Millis ms) {
        wait_until_ = now_ + ms;
    }
    struct Shown {
        WindowPlan plan;
        Surface pixels;
        bool visible = false;
        MenuBar menu;
    };
    // What a live window shows, or nullptr.
    const Shown* shown(WindowId id) const;
    // The first live window with this title.
    std::optional<WindowId> find(std::string_view title) const;

private:
    // What a window was last given to show and has not yet been copied: the
    // window layer's surface (alive while the window is) and the part of it
    // that changed.
    struct Unshown {
        const Surface* source = nullptr;
        PixelBox box;
    };
    void catch_up(WindowId id) const;
    // Hand each window's changes since its last frame to the frame handler.
    void end_frames();
    void end_frame(WindowId id, bool closing);
    // Turn an asked-for close into the user's close of the first window.
    void take_close_request();

    Size screen_;
    mutable std::map<WindowId, Shown> windows_;
    mutable std::map<WindowId, Unshown> unshown_;
    std::vector<NativeEvent> pending_;
    IdleHandler idle_;
    FrameHandler frame_handler_;
    std::map<WindowId, PixelBox> unframed_;  // per window: changed since its last frame
    Millis now_{0};
    Millis wait_until_{0};
    WindowId first_window_ = 0;  // the first window made, while it lives
    std::atomic<bool> close_asked_{false};
};

}  // namespace morlu::platform
