// Any int arguments and any text, with logging on and off: every primitive draws
// without fault, releases what it made and leaves the back buffer's context with
// its own pen, brush, font and background mode.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_runtime.h"

namespace {

using namespace morlu::platform;
using morlu::fuzz::require;

// Enough records for shapes to meet each other's leftovers; text is kept short
// because a 127-pixel glyph costs far more than any shape.
constexpr int MAX_RECORDS = 64;
constexpr size_t MAX_TEXT = 160;
constexpr uint32_t BLACK = 0x000000;
constexpr uint32_t WHITE = 0xFFFFFF;

enum Opcode { CIRCLE, TRIANGLE, RECTANGLE, LINE, TEXT, PRINTF, CLEAR, LOGGING, OPCODE_COUNT };

// What the back buffer's context had selected right after canvas_open.
struct Selected {
    Hgdiobj pen = Hgdiobj::none;
    Hgdiobj brush = Hgdiobj::none;
    Hgdiobj font = Hgdiobj::none;
    friend bool operator==(const Selected&, const Selected&) = default;
};

std::optional<HeadlessBackend> backend;
Selected defaults;

// Selecting a stock object returns the one it replaces, which goes straight back.
Hgdiobj selected(Hdc dc, int stock) {
    const Hgdiobj was = select_object(dc, get_stock_object(stock));
    select_object(dc, was);
    return was;
}

Selected selected_now() {
    const Hdc dc = runtime.window.buffer_dc;
    return {selected(dc, BLACK_PEN), selected(dc, WHITE_BRUSH), selected(dc, SYSTEM_FONT)};
}

// Arguments are read before the call, in order, so an input always means the same calls.
void draw_one(FuzzedDataProvider& in) {
    const int op = in.ConsumeIntegralInRange<int>(0, OPCODE_COUNT - 1);
    std::array<int32_t, 8> a{};
    for (int32_t& v : a) v = in.ConsumeIntegral<int32_t>();
    switch (op) {
        case CIRCLE:
            canvas_circle(a[0], a[1], a[2], a[3]);
            break;
        case TRIANGLE:
            canvas_triangle(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
            break;
        case RECTANGLE:
            canvas_rectangle(a[0], a[1], a[2], a[3], a[4], a[5]);
            break;
        case LINE:
            canvas_line(a[0], a[1], a[2], a[3], a[4], a[5]);
            break;
        case TEXT:
            canvas_text(a[0], a[1], a[2], a[3], in.ConsumeRandomLengthString(MAX_TEXT).c_str());
            break;
        case PRINTF:
            canvas_printf(a[0], a[1], a[2], a[3], "%d %s", a[4],
                          in.ConsumeRandomLengthString(MAX_TEXT).c_str());
            break;
        case CLEAR:
            canvas_clear();
            break;
        default:
            canvas_set_logging(a[0] & 1);
            break;
    }
}

// The frame canvas_clear draws is the context's own pen: black and one pixel
// wide, so its corners are black and the pixel inside them white.
void check_clear_frame() {
    canvas_clear();
    const Surface& s = *dc_surface(runtime.window.buffer_dc);
    require(s.at(0, 0) == BLACK && s.at(BUFFER_WIDTH - 1, BUFFER_HEIGHT - 1) == BLACK);
    require(s.at(1, 1) == WHITE && s.at(BUFFER_WIDTH - 2, BUFFER_HEIGHT - 2) == WHITE);
}

void check_log_ring() {
    const auto& log = runtime.log;
    require(log.log_next >= 0 && log.log_next < LOG_RING_SIZE);
    require(log.log_oldest >= -1 && log.log_oldest < LOG_RING_SIZE);
    require(log_stored_lines().size() <= LOG_RING_SIZE);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    morlu::fuzz::open_fresh_runtime(backend);
    morlu::fuzz::load_fonts();
    defaults = selected_now();
    return 0;
}

// One runtime serves every input: what an input leaves behind is what the next
// one draws on, as in a program that draws for hours.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    canvas_set_logging(in.ConsumeBool());
    const size_t objects = live_object_count();
    for (int i = 0; i < MAX_RECORDS && in.remaining_bytes() > 0; ++i) draw_one(in);
    require(live_object_count() == objects);
    require(selected_now() == defaults);
    require(get_bk_mode(runtime.window.buffer_dc) == OPAQUE);
    check_clear_frame();
    check_log_ring();
    return 0;
}
