// What the window layer needs from a toolkit. The window layer owns the message
// queue, the timers and every ordering rule; a backend only makes native windows,
// shows pixels and reports what the user did. Nothing here may throw.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "../raster/surface.h"

namespace morlu::platform {

using raster::PixelBox;
using raster::Size;
using raster::Surface;
using Millis = std::chrono::milliseconds;

// The window's handle value, as the backend sees it.
using WindowId = uint32_t;

// Modifier keys held when an input event happened.
constexpr uint32_t MOD_SHIFT = 1;
constexpr uint32_t MOD_CONTROL = 2;
constexpr uint32_t MOD_ALT = 4;
constexpr uint32_t MOD_CAPS_LOCK = 8;

// One thing the user did, as a backend reports it.
struct NativeEvent {
    enum class Kind { mouse_down, key_down, key_up, close, menu_command, resized };
    Kind kind = Kind::mouse_down;
    WindowId window = 0;
    int32_t x = 0;  // mouse_down: client pixel
    int32_t y = 0;
    uint32_t vk = 0;         // key_down, key_up: the virtual key
    int32_t codepoint = -1;  // key_down: the Unicode character the key types with its modifiers, or -1
    uint32_t mods = 0;       // MOD_ flags held at the time
    uint32_t command = 0;    // menu_command: the item's id
    Size size;               // resized: the new client size
};

// A menu bar as a backend shows it. Texts keep the platform's form: "&" before
// the mnemonic, a tab before the shortcut label.
struct MenuEntry {
    enum class Kind { item, separator };
    Kind kind = Kind::item;
    uint32_t id = 0;
    std::string text;
    bool checked = false;
    bool grayed = false;
};
struct MenuPopup {
    std::string title;
    std::vector<MenuEntry> entries;
};
struct MenuBar {
    std::vector<MenuPopup> popups;
};

// How a wait ended. Idle means nothing can arrive until someone outside the
// program acts; only a backend with a script of actions (headless) says it.
enum class WaitResult { event, deadline, idle };

// Where a window goes and how it looks.
struct WindowPlan {
    std::string title;
    int32_t x = 0;  // outer position on the screen
    int32_t y = 0;
    Size client;             // client area in pixels
    bool resizable = false;  // a sizing border and maximise box
};

class Backend {
public:
    virtual ~Backend() = default;
    // Make the native window for `id`, hidden. Returns false when the toolkit refuses.
    virtual bool create_window(WindowId id, const WindowPlan& plan) = 0;
    // Undo create_window. Called once per window.
    virtual void destroy_window(WindowId id) = 0;
    // Show or hide the window.
    virtual void show_window(WindowId id, bool visible) = 0;
    // Show `box` of `pixels` in the window's client area. `pixels` is the window
    // layer's own surface of the window: the same object, drawn on and resized
    // in place, until destroy_window(id). A desktop copies the box during the
    // call; the headless backend keeps the reference and reads the surface when
    // a snapshot is taken, which the driver does only while the program waits.
    // Read it only through its own readers (row(), pixels(), copy_box), which
    // give written pixels; never keep a pointer into its memory.
    virtual void present(WindowId id, const Surface& pixels, const PixelBox& box) = 0;
    // Attach (or replace) the window's menu bar. The program owns check marks and
    // shortcuts: choosing an item only reports a menu_command event.
    virtual void set_menu_bar(WindowId id, const MenuBar& bar) {
        (void)id;
        (void)bar;
    }
    // Put on or take off the check mark of the item with `command` in the window's bar.
    virtual void set_menu_check(WindowId id, uint32_t command, bool checked) {
        (void)id;
        (void)command;
        (void)checked;
    }
    // Append the user's pending actions to `out`, oldest first. Never blocks.
    virtual void poll_events(std::vector<NativeEvent>& out) = 0;
    // Block until a user action arrives or the clock reaches `deadline`
    // (Millis::max() for none).
    virtual WaitResult wait_events(Millis deadline) = 0;
    // Any thread: the user asked the program to end from outside its windows (a
    // signal, a console's Ctrl+C). Report a close of the first window made, as its
    // close button would, and wake a wait; nothing when that window is gone.
    virtual void ask_to_close() = 0;
    // Time since start: the wall clock for a desktop, a virtual one headless.
    virtual Millis now() const = 0;
    // The screen's size in pixels.
    virtual Size screen_size() const = 0;
};

}  // namespace morlu::platform
