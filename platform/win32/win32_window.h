// One native window of the Windows desktop backend: a top-level window whose
// client area shows our pixels, with an optional native menu bar.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "../desktop/toolkit.h"

// After the window layer's header: the system's hot-key flags are macros named
// like the window layer's modifier flags, with other values, so they are undone.
#include <windows.h>
#undef MOD_ALT
#undef MOD_CONTROL
#undef MOD_SHIFT

namespace morlu::platform::win32 {

struct NativeWindow {
    WindowId id = 0;
    DesktopEvents* events = nullptr;
    bool resizable = false;
    HWND hwnd = nullptr;
    HMENU menu_bar = nullptr;
    Size client;  // the client area the program planned
    // What the client area shows: our 0x00RRGGBB rows, a top-down 32-bit DIB,
    // shared with the program's thread (under shown->lock).
    std::shared_ptr<WindowPixels> shown;
};

// Text in the program's code page 1252, as the service's UTF-16.
std::wstring wide_from_cp1252(std::string_view text);

// Make the hidden window for `plan`, showing `shown`; its procedure reports into
// `events`. Returns nullptr when the system gives no window (no desktop to show it on).
std::unique_ptr<NativeWindow> create_native_window(WindowId id,
                                                   const WindowPlan& plan,
                                                   std::shared_ptr<WindowPixels> shown,
                                                   DesktopEvents& events);

// From now on the window reports nothing to the program and paints nothing.
void detach_native_window(NativeWindow& w);

// Destroy the window and its menu bar. Undoes create_native_window.
void destroy_native_window(NativeWindow& w);

// The program copied a frame into the window's pixels: draw them at once.
void repaint_pixels(NativeWindow& w);

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
