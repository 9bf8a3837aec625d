// The runtime's one global record, its command ids and its internal operations.
// Private to the runtime.
#pragma once

#include <array>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "morlu/canvas.h"
#include "platform/window/platform.h"
#include "runtime_session.h"

namespace pf = morlu::platform;

// The back buffer is the graphics window's full outer size.
constexpr int BUFFER_WIDTH = 601;
constexpr int BUFFER_HEIGHT = 540;
constexpr uintptr_t TICK_TIMER_ID = 2;
constexpr uint32_t TICK_PERIOD_MS = 100;
constexpr int LOG_RING_SIZE = 25;
constexpr int LOG_FORMAT_BUFFER = 1024;
constexpr int NO_EVENT = -1;

constexpr uint32_t CMD_ANIMATE = 1;
constexpr uint32_t CMD_HALT = 2;
constexpr uint32_t CMD_ADVANCE_FRAME = 3;
constexpr uint32_t CMD_LOGGING = 4;
constexpr uint32_t CMD_RECORD = 5;
constexpr uint32_t CMD_PLAYBACK = 6;
constexpr uint32_t CMD_PLAY_ONE = 7;
constexpr uint32_t CMD_QUIT = 8;
constexpr uint32_t CMD_INFO = 9;

constexpr const char* GRAPHICS_CLASS = "DrawWndClass";
constexpr const char* TEXT_CLASS = "TextWndClass";

struct RuntimeState {
    // Windows, back buffer and coordinate frame.
    struct {
        pf::Hinstance instance = pf::Hinstance::none;
        pf::Hwnd graphics_window = pf::Hwnd::none;
        pf::Hwnd text_window = pf::Hwnd::none;
        pf::Hdc window_dc = pf::Hdc::none;
        pf::Hgdiobj back_buffer = pf::Hgdiobj::none;
        pf::Hdc buffer_dc = pf::Hdc::none;
        int32_t origin_x = 0;
        int32_t origin_y = 0;
        int32_t dirty = 1;
    } window;
    // Event loop and animation control.
    struct {
        uint8_t running = 0;
        uint8_t single_step = 0;
        uint8_t quit_requested = 0;
        int32_t timer_ticked = 0;
        int32_t pending_kind = NO_EVENT;
        int32_t event_x = 0;
        int32_t event_y = 0;
        int8_t event_key = 0;
    } events;
    // Run menu and keyboard shortcuts.
    struct {
        int32_t ctrl_down = 0;
        pf::Hmenu run_menu = pf::Hmenu::none;
    } menu;
    // Log console: the last 25 lines, each with its trailing newline until replayed.
    struct {
        uint8_t logging = 1;
        std::array<std::string, LOG_RING_SIZE> log_lines;
        int32_t log_oldest = -1;
        int32_t log_next = 0;
    } log;
    // Script recording and playback. One file serves one direction at a time:
    // starting either direction ends the other first.
    struct {
        uint8_t recording = 0;
        uint8_t playback = 0;
        uint8_t play_one = 0;
        std::FILE* script_file = nullptr;
        bool file_writing = false;    // script_file was opened for recording
        int32_t periodic_count = 0;   // recording: periodic events in the current run
        int32_t periodic_owed = 0;    // playback: periodic events the last PERIODIC line still owes
        int64_t whole_length = 0;     // recording: bytes of the file up to the end of its last whole line
        int32_t run_line_length = 0;  // recording: the run's line, on the disk after the whole lines, or 0
    } script;
    // Calls out of order: whether canvas_open and canvas_close have been called,
    // and which of a beginner's mistakes the program has been told of, each once.
    struct {
        uint8_t opened = 0;
        uint8_t closed = 0;
        uint8_t told_not_started = 0;
        uint8_t told_before_open = 0;
        uint8_t told_after_close = 0;
    } calls;
};

extern RuntimeState runtime;

// Forget all runtime state, as at program start (for tests).
void runtime_reset();

// Windows and coordinate frame.
pf::LResult graphics_window_proc(pf::Hwnd hwnd, uint32_t message, pf::WParam wparam, pf::LParam lparam);
// Create the text window (hidden), across the bottom third of the screen as it is now.
void create_text_window();

// Calls out of order.
// canvas_open outside morlu_main (no backend runs): say so, once, in one line with the fix.
void report_not_started();
// A drawing call (`call` names it) before canvas_open or after canvas_close: the
// first of each kind is told in one line, to the user and in the log.
void note_drawing_call(const char* call);

// Event loop.
// Take and handle at most one message, then copy the back buffer if it is dirty.
// Returns whether a message was taken.
bool pump_one_message();
void on_timer();
void on_left_button_down(pf::LParam lparam);
void on_char(pf::WParam wparam);

// Run menu and keyboard shortcuts.
void build_run_menu(pf::Hwnd hwnd);
void on_key_down(pf::WParam wparam);
void on_key_up(pf::WParam wparam);
void on_command(pf::WParam wparam);

// Palette and drawing primitives.
constexpr int PALETTE_SIZE = 24;
constexpr int COLOR_RED = 2;
constexpr int32_t SHAPE_TRIANGLE = 0;
constexpr int32_t SHAPE_RECTANGLE = 1;
constexpr int32_t SHAPE_ELLIPSE = 2;
constexpr int32_t SHAPE_LINE = 3;
constexpr int32_t SHAPE_TEXT = 5;
constexpr int32_t MAX_PTSIZE = 127;
constexpr int PRINTF_BUFFER = 1024;

struct PaletteEntry {
    const char* name;
    pf::ColorRef value;  // 0x00BBGGRR
};
extern const PaletteEntry palette[PALETTE_SIZE];

// One shape, as a primitive hands it to the renderer. Coordinates are logical.
struct ShapeRecord {
    int32_t kind = SHAPE_TRIANGLE;
    int32_t color = 0;
    int32_t width = 0;
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0;
    int32_t ptsize = 0;
    std::string text;  // the text primitive's own copy of the caller's string
};

// The index to use: itself when 0..23, else red, with a line in the log.
int check_color(int index);
void render_shape(const ShapeRecord& shape);

// Format into `buffer` of `size` bytes; a longer result is cut, never overflows.
// Returns the formatter's count of the whole result (0 for no format).
int format_into(char* buffer, size_t size, const char* format, va_list args)
    __attribute__((format(printf, 3, 0)));

// Log console.
void log_append_line(std::string& text);
pf::LResult text_window_proc(pf::Hwnd hwnd, uint32_t message, pf::WParam wparam, pf::LParam lparam);
void show_text_window(int visible);

// Scripts.
constexpr const char* SCRIPT_NAME = "MORLU.SCR";
// script_read_event's result when it read a bounded run of blank lines and
// neither made an event nor reached the end: playback goes on in the next pass.
constexpr int SCRIPT_NOT_YET = 2;
int script_read_event();
void script_write_event(int kind, int x, int y, int8_t key);
// Apply the recording rule to the event that canvas_await_event delivers.
void script_record_event();
// Open the file for recording unless it is; false, with a line in the log, when it cannot be.
bool script_open_for_writing();
void script_stop_recording();
// Say in one log line why the script file was not opened.
enum class ScriptRefusal;
void script_report_refusal(ScriptRefusal why, bool writing);
void script_close();
void script_stop_playback();
void script_toggle_recording();
void script_toggle_playback();
void script_play_one();
