#include "platform_state.h"

namespace morlu::platform {

PlatformState platform_state;

void note_failure(const char* why) {
    platform_state.last_error = why;
}

void platform_start(Backend& backend) {
    platform_stop();
    platform_state.backend = &backend;
    make_stock_objects();
}

void platform_stop() {
    if (Backend* backend = platform_state.backend) {
        for (auto& [id, window] : platform_state.windows)
            if (window.native) backend->destroy_window(id);
    }
    platform_state = PlatformState{};
}

Backend* platform_backend() {
    return platform_state.backend;
}

const char* last_error() {
    return platform_state.last_error.c_str();
}

Window* find_window_record(Hwnd hwnd) {
    const auto it = platform_state.windows.find(raw(hwnd));
    return it == platform_state.windows.end() ? nullptr : &it->second;
}

Menu* find_menu(Hmenu handle) {
    const auto it = platform_state.menus.find(raw(handle));
    return it == platform_state.menus.end() ? nullptr : &it->second;
}

int get_system_metrics(int index) {
    const Size screen = platform_state.backend ? platform_state.backend->screen_size() : Size{};
    switch (index) {
        case SM_CXSCREEN:
            return screen.w;
        case SM_CYSCREEN:
            return screen.h;
        case SM_CYCAPTION:
            return CAPTION_HEIGHT;
        case SM_CYMENU:
            return MENU_BAR_HEIGHT;
        default:
            return 0;
    }
}

}  // namespace morlu::platform
