#include <algorithm>

#include "../raster/cp1252.h"
#include "platform_state.h"

namespace morlu::platform {
namespace {

// The character a key-down yields: Ctrl+letter gives the control code 1..26 and
// any other Ctrl combination none; otherwise the typed character in code page
// 1252, or none when the code page lacks it.
int key_character(const NativeEvent& e) {
    if (e.mods & MOD_CONTROL) return (e.vk >= 'A' && e.vk <= 'Z') ? static_cast<int>(e.vk - 'A' + 1) : -1;
    // Delete types no character on this platform, though Unicode gives it one (127).
    if (e.codepoint < 0 || e.vk == VK_DELETE) return -1;
    return raster::cp1252_from_unicode(static_cast<char32_t>(e.codepoint));
}

void queue_input(Hwnd hwnd, uint32_t message, WParam wparam, LParam lparam) {
    if (find_window_record(hwnd)) platform_state.queue.push_back({hwnd, message, wparam, lparam});
}

// A window sized from outside keeps a client area no larger than the screen, as
// the platform bounds a window's tracking size by the screen's: a resize to
// 20000 x 20000 must not make the program hold gigabytes of pixels.
void resize_client(Hwnd hwnd, Size size) {
    Window* w = find_window_record(hwnd);
    const Size screen = platform_state.backend ? platform_state.backend->screen_size() : Size{};
    if (screen.w > 0 && screen.h > 0) size = {std::min(size.w, screen.w), std::min(size.h, screen.h)};
    if (!w || size.w < 0 || size.h < 0 || size == w->pixels.size()) return;
    int32_t extra = (w->style & WS_CAPTION) ? CAPTION_HEIGHT : 0;
    if (w->menu != Hmenu::none) extra += MENU_BAR_HEIGHT;
    w->outer.right = static_cast<int32_t>(int64_t{w->outer.left} + size.w);
    w->outer.bottom = static_cast<int32_t>(int64_t{w->outer.top} + size.h + extra);
    update_client_size(*w);
    invalidate_rect(hwnd, nullptr, 1);
}

}  // namespace

void queue_native_event(const NativeEvent& e) {
    const Hwnd hwnd{e.window};
    const bool alt = (e.mods & MOD_ALT) != 0;
    switch (e.kind) {
        case NativeEvent::Kind::mouse_down:
            queue_input(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, make_lparam(e.x, e.y));
            break;
        case NativeEvent::Kind::key_down:
            queue_input(hwnd, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, e.vk, key_lparam(key_character(e), false));
            break;
        case NativeEvent::Kind::key_up:
            queue_input(hwnd, alt ? WM_SYSKEYUP : WM_KEYUP, e.vk, key_lparam(-1, true));
            break;
        case NativeEvent::Kind::close:
            queue_input(hwnd, WM_CLOSE, 0, 0);
            break;
        case NativeEvent::Kind::menu_command:
            queue_input(hwnd, WM_COMMAND, e.command, 0);
            break;
        case NativeEvent::Kind::resized:
            resize_client(hwnd, e.size);
            break;
    }
}

}  // namespace morlu::platform
