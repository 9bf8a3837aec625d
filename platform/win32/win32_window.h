// One native window of the Windows desktop backend: a top-level window whose
// client area shows our pixels, with an optional native menu bar.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "../window/backend.h"

// After the window layer's header: the system's hot-key flags are macros named
// like the window layer's modifier flags, with other values, so they are undone.
#include <windows.h>
#undef MOD_ALT
#undef MOD_CONTROL
#undef MOD_SHIFT

namespace morlu::platform::win32 {

// What every window's procedure feeds, shared by all windows of the backend.
struct EventSink {
    std::vector<NativeEvent> pending;  // user actions the program has not collected yet
    uint32_t held_mods = 0;            // MOD_ flags of modifier keys reported down and not yet up
};

struct NativeWindow {
    WindowId id = 0;
    EventSink* sink = nullptr;
    bool resizable = false;
    HWND hwnd = nullptr;
    HMENU menu_bar = nullptr;
    Size client;     // the client area the program planned
    Surface pixels;  // what the client area shows: our 0x00RRGGBB rows, a top-down 32-bit DIB
};

// Text in the program's code page 1252, as the service's UTF-16.
std::wstring wide_from_cp1252(std::string_view text);

// Make the hidden window for `plan`; its procedure reports into `sink`. Returns
// nullptr when the system gives no window (no desktop to show it on).
std::unique_ptr<NativeWindow> create_native_window(WindowId id, const WindowPlan& plan, EventSink& sink);

// Destroy the window and its menu bar. Undoes create_native_window.
void destroy_native_window(NativeWindow& w);

// Copy `box` of `pixels` into the window's copy and draw it at once.
void present_pixels(NativeWindow& w, const Surface& pixels, const PixelBox& box);

// Build `bar` natively and attach it, replacing any bar before; the window's
// outer size grows so the client area keeps its planned size.
void install_menu_bar(NativeWindow& w, const MenuBar& bar);

// Put on or take off the check mark of the item with `command`.
void set_check(NativeWindow& w, uint32_t command, bool checked);

// The window procedure's handling of user input; true when `message` was taken.
bool handle_input(NativeWindow& w, UINT message, WPARAM wparam, LPARAM lparam);

// Report key-ups for modifiers we reported down that are no longer held: a
// menu's modal loop or another window may have taken their release.
void resync_modifiers(NativeWindow& w);

}  // namespace morlu::platform::win32
