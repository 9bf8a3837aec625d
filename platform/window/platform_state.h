// The platform layer's own records: classes, windows, the queue, timers, menus,
// drawing objects and contexts. Private to platform/window.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../raster/shapes.h"
#include "../raster/text.h"
#include "handle_table.h"
#include "platform.h"

namespace morlu::platform {

// Non-client sizes of this platform: a caption and a one-line menu bar; frames
// add nothing, so the graphics window's 601 x 540 leaves a 601 x 501 client area.
constexpr int32_t CAPTION_HEIGHT = 20;
constexpr int32_t MENU_BAR_HEIGHT = 19;

struct WindowClassRecord {
    std::string name;
    uint32_t style = 0;
    WndProc proc = nullptr;
    Hgdiobj background = Hgdiobj::none;
};

struct Window {
    Hwnd handle = Hwnd::none;
    const WindowClassRecord* cls = nullptr;
    std::string title;
    uint32_t style = 0;
    RectL outer;
    Surface pixels;        // the client area as the program last drew it
    bool native = false;   // the backend has a window for it
    bool created = false;  // WM_CREATE has been handled
    bool visible = false;
    bool needs_paint = false;
    bool needs_erase = false;
    PixelBox damage;  // drawn since the last present
    Hmenu menu = Hmenu::none;
};

struct Timer {
    Hwnd hwnd = Hwnd::none;
    uintptr_t id = 0;
    Millis period{0};
    Millis due{0};
};

struct MenuItem {
    uint32_t flags = 0;
    uintptr_t id = 0;
    std::string text;
};

struct Menu {
    bool popup = false;
    std::vector<MenuItem> items;
};

// What a font object holds: the request, and the font once first used.
struct FontObject {
    raster::FontRequest request;
    std::shared_ptr<const raster::Font> font;
    bool resolved = false;
};

// A drawing object. Pens and brushes, made and deleted around every shape a
// program draws, are a few plain fields; what fonts and bitmaps need lives
// behind pointers, so making and freeing a pen costs next to nothing.
struct GdiObject {
    enum class Kind { pen, brush, font, bitmap };
    Kind kind = Kind::pen;
    bool stock = false;
    bool deleted = false;  // deleted while selected: freed when deselected
    int selected = 0;      // number of contexts it is selected into
    raster::Pen pen;
    raster::Brush brush;
    std::shared_ptr<FontObject> font;  // fonts only
    std::shared_ptr<Surface> bitmap;   // bitmaps only
};

struct DeviceContext {
    Hwnd window = Hwnd::none;  // none for a memory context
    Hgdiobj pen = Hgdiobj::none;
    Hgdiobj brush = Hgdiobj::none;
    Hgdiobj font = Hgdiobj::none;
    Hgdiobj bitmap = Hgdiobj::none;
    ColorRef text_color = 0x000000;
    ColorRef bk_color = 0xFFFFFF;
    int bk_mode = OPAQUE;
    PointL position;  // where the next line_to starts
};

struct PlatformState {
    Backend* backend = nullptr;
    std::string last_error;
    std::map<std::string, WindowClassRecord> classes;
    std::map<uint32_t, Window> windows;
    uint32_t next_window = 1;
    std::deque<Msg> queue;
    bool quit_pending = false;
    int quit_code = 0;
    std::vector<Timer> timers;
    std::map<uint32_t, Menu> menus;
    uint32_t next_menu = 1;
    HandleTable<GdiObject> objects;
    Hgdiobj stock[SYSTEM_FONT + 1] = {};
    Hgdiobj default_bitmap = Hgdiobj::none;  // the 1 x 1 bitmap of a new memory context
    HandleTable<DeviceContext> dcs;
    std::vector<NativeEvent> native_events;  // reused buffer for backend polls
    raster::FontCache fonts;                 // every cache behind text, emptied by platform_stop
};

extern PlatformState platform_state;

// Note why an operation failed. Out of line and cold: failures are rare, and
// the string it sets would otherwise weigh on every drawing call.
[[gnu::cold, gnu::noinline]] void note_failure(const char* why);

// Record why an operation failed and return `result`, the failure value.
template <typename T>
T fail(T result, const char* why) {
    note_failure(why);
    return result;
}

Window* find_window_record(Hwnd hwnd);
GdiObject* find_object(Hgdiobj handle);
DeviceContext* find_dc(Hdc handle);
Menu* find_menu(Hmenu handle);

// Stock objects, made at start.
void make_stock_objects();
// Resolve the font of a font object (on first use) or nullptr.
const raster::Font* object_font(GdiObject& object);
// Where a context draws and what it may touch; nullptr for a dead context.
Surface* dc_target(DeviceContext& dc, PixelBox* clip);
// Note that the window behind `dc` changed, so the next present shows it.
void dc_damaged(const DeviceContext& dc, const PixelBox& box);
// Show every window's changes through the backend.
void present_damage();
// Move the backend's pending user actions into the queue.
void pump_backend();
// Convert one user action into queued messages (or handle it at once, for resizes).
void queue_native_event(const NativeEvent& event);
// Recompute a window's client area from its outer size, style and menu.
void update_client_size(Window& window);
// A due timer's message, advancing its next due time; false when none is due.
bool take_due_timer(Msg* msg);
// The earliest time a timer is due, or Millis::max().
Millis next_timer_due();
// Forget the window's timers and queued messages.
void drop_window_timers(Hwnd hwnd);
// Push the window's menu bar to the backend, if it has a native window.
void push_menu_bar(Window& window);

inline uint32_t raw(Hwnd h) {
    return static_cast<uint32_t>(h);
}
inline uint32_t raw(Hdc h) {
    return static_cast<uint32_t>(h);
}
inline uint32_t raw(Hgdiobj h) {
    return static_cast<uint32_t>(h);
}
inline uint32_t raw(Hmenu h) {
    return static_cast<uint32_t>(h);
}
// A platform colour (0x00BBGGRR) as a surface pixel (0x00RRGGBB).
inline uint32_t to_pixel(ColorRef c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// Every shape looks up its context and objects several times: inline.
inline GdiObject* find_object(Hgdiobj handle) {
    return platform_state.objects.find(raw(handle));
}
inline DeviceContext* find_dc(Hdc handle) {
    return platform_state.dcs.find(raw(handle));
}

}  // namespace morlu::platform
