#include "web_backend.h"

#include <emscripten.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

// The page's side, in web_backend.js.
extern "C" {
void morlu_web_window(uint32_t id, const char* title, int32_t width, int32_t height, int32_t made);
void morlu_web_show(uint32_t id, int32_t visible);
void morlu_web_present(uint32_t id, int32_t x, int32_t y, int32_t width, int32_t height, const uint8_t* rgba);
void morlu_web_menu_bar(uint32_t id, const char* layout, int32_t length);
void morlu_web_menu_check(uint32_t id, uint32_t command, int32_t checked);
int32_t morlu_web_take_event(int32_t* fields);
int32_t morlu_web_pending();
void morlu_web_post_close(uint32_t id);
// Sleeps (ASYNCIFY) until the page has input or `ms` have passed; -1 for no limit.
void morlu_web_wait(int32_t ms);
}

namespace morlu::platform {
namespace {

// The text window covers the bottom third of the screen: a screen of this size
// gives the log panel the graphics window's width and room for the console's
// 25 lines of 13 pixels.
constexpr Size PAGE_SCREEN{601, 981};

// The fields of one event, in the order web_backend.js writes them.
enum Field { KIND, WINDOW, X, Y, VK, CODEPOINT, MODS, COMMAND, FIELDS };

// One line per entry: "popup" and its title, "item" with id, check, grey and
// text, or "separator"; fields split by the unit separator. Texts stay code
// page 1252 bytes, which the page decodes.
std::string menu_layout(const MenuBar& bar) {
    std::string layout;
    for (const MenuPopup& popup : bar.popups) {
        layout += "popup\x1f" + popup.title + '\n';
        for (const MenuEntry& e : popup.entries) {
            if (e.kind == MenuEntry::Kind::separator) {
                layout += "separator\n";
                continue;
            }
            layout += "item\x1f" + std::to_string(e.id) + '\x1f' + (e.checked ? "1" : "0") + '\x1f' +
                      (e.grayed ? "1" : "0") + '\x1f' + e.text + '\n';
        }
    }
    return layout;
}

class PageBackend final : public WebBackend {
public:
    bool create_window(WindowId id, const WindowPlan& plan) override {
        if (first_window_ == 0) first_window_ = id;
        morlu_web_window(id, plan.title.c_str(), plan.client.w, plan.client.h, 1);
        return true;
    }
    void destroy_window(WindowId id) override {
        if (id == first_window_) first_window_ = ~WindowId{0};
        morlu_web_window(id, "", 0, 0, 0);
    }
    void show_window(WindowId id, bool visible) override {
        morlu_web_show(id, visible ? 1 : 0);
    }
    void present(WindowId id, const Surface& pixels, const PixelBox& box) override;
    void set_menu_bar(WindowId id, const MenuBar& bar) override {
        const std::string layout = menu_layout(bar);
        morlu_web_menu_bar(id, layout.data(), static_cast<int32_t>(layout.size()));
    }
    void set_menu_check(WindowId id, uint32_t command, bool checked) override {
        morlu_web_menu_check(id, command, checked ? 1 : 0);
    }
    void poll_events(std::vector<NativeEvent>& out) override;
    WaitResult wait_events(Millis deadline) override;
    void ask_to_close() override {
        if (first_window_ != 0 && first_window_ != ~WindowId{0}) morlu_web_post_close(first_window_);
    }
    Millis now() const override {
        return Millis{static_cast<int64_t>(emscripten_get_now() - start_)};
    }
    Size screen_size() const override {
        return PAGE_SCREEN;
    }
    void set_wait_hook(std::function<void()> hook) override {
        wait_hook_ = std::move(hook);
    }

private:
    const double start_ = emscripten_get_now();
    WindowId first_window_ = 0;
    std::vector<uint8_t> rgba_;  // the box being presented, as the canvas takes it
    std::function<void()> wait_hook_;
};

// The box is copied into the canvas during the call, as a desktop copies it.
void PageBackend::present(WindowId id, const Surface& pixels, const PixelBox& box) {
    const auto shown = raster::intersect(box, pixels.bounds());
    if (!shown) return;
    const int32_t w = shown->x1 - shown->x0;
    const int32_t h = shown->y1 - shown->y0;
    rgba_.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    uint8_t* out = rgba_.data();
    for (int32_t y = shown->y0; y < shown->y1; ++y) {
        const uint32_t* row = pixels.row(y);
        for (int32_t x = shown->x0; x < shown->x1; ++x, out += 4) {
            const uint32_t p = row[x];
            out[0] = static_cast<uint8_t>(p >> 16);
            out[1] = static_cast<uint8_t>(p >> 8);
            out[2] = static_cast<uint8_t>(p);
            out[3] = 255;
        }
    }
    morlu_web_present(id, shown->x0, shown->y0, w, h, rgba_.data());
}

void PageBackend::poll_events(std::vector<NativeEvent>& out) {
    int32_t f[FIELDS];
    while (morlu_web_take_event(f)) {
        NativeEvent e;
        e.kind = static_cast<NativeEvent::Kind>(std::clamp<int32_t>(f[KIND], 0, 4));
        e.window = static_cast<WindowId>(f[WINDOW]);
        e.x = f[X];
        e.y = f[Y];
        e.vk = static_cast<uint32_t>(f[VK]);
        e.codepoint = f[CODEPOINT];
        e.mods = static_cast<uint32_t>(f[MODS]);
        e.command = static_cast<uint32_t>(f[COMMAND]);
        out.push_back(e);
    }
}

// Nothing arrives while the program runs: the page's input waits in its queue
// until the program sleeps here and the browser takes its turn.
WaitResult PageBackend::wait_events(Millis deadline) {
    if (morlu_web_pending()) return WaitResult::event;
    const Millis t = now();
    if (t >= deadline) return WaitResult::deadline;
    if (wait_hook_) wait_hook_();
    int32_t ms = -1;
    if (deadline != Millis::max())
        ms = static_cast<int32_t>(
            std::min<int64_t>((deadline - t).count(), std::numeric_limits<int32_t>::max()));
    morlu_web_wait(ms);
    return morlu_web_pending() ? WaitResult::event : WaitResult::deadline;
}

}  // namespace

std::unique_ptr<WebBackend> make_web_backend() {
    return std::make_unique<PageBackend>();
}

}  // namespace morlu::platform
