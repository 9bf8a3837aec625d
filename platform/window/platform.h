// The platform layer: what the Windows windowing, drawing and memory services
// did for the runtime, under our own lower-case names. Operations return the
// platform's kind of result (1/0 or a null handle) and never throw; a stale or
// unknown handle makes an operation fail, never crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "backend.h"
#include "win_types.h"

namespace morlu::platform {

// Start the layer on a backend, forgetting every window, message, timer, menu and
// drawing object of a previous start. The backend must outlive the layer's use.
void platform_start(Backend& backend);
// Forget everything and detach from the backend (windows are destroyed natively).
void platform_stop();
// The backend the layer runs on, or nullptr before platform_start.
Backend* platform_backend();
// Why the last failed operation failed.
const char* last_error();

// --- Window classes and windows ---

struct WndClass {
    uint32_t style = 0;
    WndProc proc = nullptr;
    Hinstance instance = Hinstance::none;
    Hgdiobj background = Hgdiobj::none;  // brush that erases the client area
    const char* menu_name = nullptr;     // no menu resources exist, so it only has to be a name
    const char* class_name = nullptr;
};

// Fails (returns 0) when the name is taken or the class lacks a name or procedure.
int register_class(const WndClass& cls);
// Create a hidden top-level window of outer size w x h. The procedure gets
// WM_CREATE before this returns, then WM_SIZE with the client size. The client
// area is the outer size less a 20-pixel caption (WS_CAPTION) and a 19-pixel
// menu bar (when the window has a menu).
Hwnd create_window(uint32_t ex_style,
                   const char* class_name,
                   const char* title,
                   uint32_t style,
                   int32_t x,
                   int32_t y,
                   int32_t w,
                   int32_t h,
                   Hwnd parent,
                   Hmenu menu,
                   Hinstance instance,
                   void* param);
int destroy_window(Hwnd hwnd);
int is_window(Hwnd hwnd);
// Show (any show command but SW_HIDE) or hide; a first show invalidates the window.
int show_window(Hwnd hwnd, int cmd);
int is_window_visible(Hwnd hwnd);
LResult def_window_proc(Hwnd hwnd, uint32_t message, WParam wparam, LParam lparam);
// Call the window's procedure now, bypassing the queue.
LResult send_message(Hwnd hwnd, uint32_t message, WParam wparam, LParam lparam);
int get_client_rect(Hwnd hwnd, RectL* rect);
// Mark the whole client area for repainting (the rectangle is not kept apart).
int invalidate_rect(Hwnd hwnd, const RectL* rect, int erase);
int get_system_metrics(int index);
// The first live window with this title, for drivers and tests.
Hwnd find_window(const char* class_name, const char* title);

// --- Messages and timers ---

// Take at most one message, never blocking. Order: posted and input messages
// first, in order; then WM_QUIT once nothing posted is left; then WM_PAINT for a
// visible window that needs painting; then WM_TIMER for a timer that is due, at
// most one pending per timer.
int peek_message(Msg* msg);
// A key-down that yields a character puts a WM_CHAR first in the queue (WM_SYSCHAR
// for a WM_SYSKEYDOWN), so it is the next message taken.
int translate_message(const Msg* msg);
LResult dispatch_message(const Msg* msg);
int post_message(Hwnd hwnd, uint32_t message, WParam wparam, LParam lparam);
void post_quit_message(int exit_code);
// Block until peek_message would find a message. Returns 0 only when nothing
// can ever arrive (a headless backend whose driver has no more actions).
int wait_message();
// A repeating timer: WM_TIMER to the window every `ms` milliseconds; expiries that
// pass while one is pending are merged into it. Setting an existing id restarts it.
uintptr_t set_timer(Hwnd hwnd, uintptr_t id, uint32_t ms);
int kill_timer(Hwnd hwnd, uintptr_t id);

// --- Menus ---

Hmenu create_menu();
Hmenu create_popup_menu();
// MF_STRING (text item with command id `id`), MF_SEPARATOR, MF_CHECKED, MF_GRAYED,
// or MF_POPUP (`id` is the popup's Hmenu value, `text` its title).
int append_menu(Hmenu menu, uint32_t flags, uintptr_t id, const char* text);
int set_menu(Hwnd hwnd, Hmenu menu);
int draw_menu_bar(Hwnd hwnd);
// Returns the previous state (MF_CHECKED or MF_UNCHECKED), or -1 for no such item.
int check_menu_item(Hmenu menu, uint32_t id, uint32_t flags);
// The menu attached to a window, for drivers and tests.
Hmenu get_menu(Hwnd hwnd);
// Whether `id` names an enabled item in the window's menu bar (a click can choose it).
bool menu_item_selectable(Hwnd hwnd, uint32_t id);
// The command id of the item in the window's menu bar that `name` names: the
// item's text without its "&" and its tab and shortcut, in lower case, with "-"
// for each space ("halt-animation"), or the first word of it when no other item
// starts with that word ("halt"). Nothing when no item, or more than one, does.
std::optional<uint32_t> find_menu_item(Hwnd hwnd, std::string_view name);

// --- Device contexts ---

struct PaintStruct {
    Hdc hdc = Hdc::none;
    int erase = 0;
    RectL paint;
};

// A context for the window's client area: origin at its top-left, clipped to it,
// with the default objects (one-pixel black pen, white brush, system font, black
// text on a white, opaque background).
Hdc get_dc(Hwnd hwnd);
int release_dc(Hwnd hwnd, Hdc hdc);
// Validates the window (no more WM_PAINT until it is invalidated again) and
// erases it with the class background first when it asked for an erase.
Hdc begin_paint(Hwnd hwnd, PaintStruct* ps);
int end_paint(Hwnd hwnd, const PaintStruct* ps);
// A memory context with a 1 x 1 bitmap and the default objects.
Hdc create_compatible_dc(Hdc hdc);
int delete_dc(Hdc hdc);
// A new bitmap, all black.
Hgdiobj create_compatible_bitmap(Hdc hdc, int32_t w, int32_t h);

// --- Drawing objects ---

Hgdiobj create_pen(int style, int32_t width, ColorRef color);
Hgdiobj create_solid_brush(ColorRef color);
// Negative height: an em of -height pixels; positive: a cell of height pixels;
// zero: the default height. Faces are found through the desktop's font matching.
Hgdiobj create_font(int32_t height,
                    int32_t width,
                    int32_t escapement,
                    int32_t orientation,
                    int32_t weight,
                    uint32_t italic,
                    uint32_t underline,
                    uint32_t strike_out,
                    uint32_t charset,
                    uint32_t out_precision,
                    uint32_t clip_precision,
                    uint32_t quality,
                    uint32_t pitch_and_family,
                    const char* face);
Hgdiobj get_stock_object(int index);
// Returns the object of the same kind that was selected, or none on failure.
Hgdiobj select_object(Hdc hdc, Hgdiobj object);
// Stock objects are never deleted; a deleted object still selected into a
// context stays usable there until it is replaced.
int delete_object(Hgdiobj object);
// How many drawing objects (stock ones included) are alive: a program that
// deletes what it makes keeps this steady.
size_t live_object_count();

ColorRef set_text_color(Hdc hdc, ColorRef color);
ColorRef set_bk_color(Hdc hdc, ColorRef color);
ColorRef get_bk_color(Hdc hdc);
int set_bk_mode(Hdc hdc, int mode);
int get_bk_mode(Hdc hdc);

// --- Drawing ---

// Right column and bottom row are outside; see the raster rules for pens.
int rectangle(Hdc hdc, int32_t left, int32_t top, int32_t right, int32_t bottom);
// Inscribed in the box as rectangle is; a 1 x 1 box draws nothing, and with a
// null pen the fill keeps the outlined ellipse's footprint.
int ellipse(Hdc hdc, int32_t left, int32_t top, int32_t right, int32_t bottom);
// Alternate fill, vertices used as given, then the pen draws every edge.
int polygon(Hdc hdc, const PointL* points, int32_t count);
// Set the current position, returning the old one in `old` when asked.
int move_to(Hdc hdc, int32_t x, int32_t y, PointL* old);
// A line from the current position to (x, y), which becomes the current
// position. A one-pixel pen leaves out the last pixel; a wide one has round caps.
int line_to(Hdc hdc, int32_t x, int32_t y);
// A plain copy of w x h pixels (only SRCCOPY), clipped to both contexts.
int bit_blt(Hdc dst,
            int32_t x,
            int32_t y,
            int32_t w,
            int32_t h,
            Hdc src,
            int32_t sx,
            int32_t sy,
            uint32_t rop);
// Nothing is held back: every drawing call is done when it returns. Kept for
// programs written for the platform, which flush before reading a bitmap.
int gdi_flush();
// Move the whole content by (dx, dy); uncovered pixels keep their old values.
int scroll_dc(Hdc hdc,
              int32_t dx,
              int32_t dy,
              const RectL* scroll,
              const RectL* clip,
              void* update_region,
              RectL* update);

struct SizeL {
    int32_t cx = 0;
    int32_t cy = 0;
};

struct TextMetrics {
    int32_t tm_height = 0;
    int32_t tm_ascent = 0;
    int32_t tm_descent = 0;
    int32_t tm_internal_leading = 0;
    int32_t tm_external_leading = 0;
    int32_t tm_ave_char_width = 0;
    int32_t tm_max_char_width = 0;
    int32_t tm_weight = 0;
};

// The cell's top-left corner is at (x, y). Bytes are code page 1252; none is
// interpreted. Opaque mode fills the cell with the background colour first.
int text_out(Hdc hdc, int32_t x, int32_t y, const char* text, int32_t length);
// The width of the text and the font's cell height, whatever the text holds.
int get_text_extent(Hdc hdc, const char* text, int32_t length, SizeL* size);
int get_text_metrics(Hdc hdc, TextMetrics* metrics);

// The pixels behind a context (a window's client area or a bitmap), for drivers and tests.
const Surface* dc_surface(Hdc hdc);
// The pixels of a window's client area, as the program last drew them.
const Surface* window_surface(Hwnd hwnd);

}  // namespace morlu::platform
