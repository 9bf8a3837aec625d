// Recording the events the program receives to "MORLU.SCR", and playing them back.
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "runtime_state.h"

using namespace morlu::platform;

namespace {

constexpr const char* SCRIPT_NAME = "MORLU.SCR";
constexpr int SCRIPT_LINE_BUFFER = 512;
constexpr int SCRIPT_NUMBER_BUFFER = 12;

bool is_number_start(char c, bool allow_minus) {
    return std::isdigit(static_cast<unsigned char>(c)) || (allow_minus && c == '-');
}

// Scan one number from `pos`: skip to its first character, copy the run of
// digits (and minus signs, when allowed) into a 12-byte buffer, convert it, and
// leave `pos` after the run. The scan never passes the end of the line.
int scan_number(const char* line, size_t& pos, bool allow_minus) {
    const size_t len = std::strlen(line);
    while (pos < len && !is_number_start(line[pos], allow_minus)) ++pos;
    char number[SCRIPT_NUMBER_BUFFER] = {};
    size_t n = 0;
    while (pos < len && is_number_start(line[pos], allow_minus)) {
        if (n < SCRIPT_NUMBER_BUFFER - 1) number[n++] = line[pos];
        ++pos;
    }
    // strtol stops at a second minus sign, and saturates instead of overflowing.
    const long value = std::strtol(number, nullptr, 10);
    return value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : static_cast<int>(value);
}

void end_of_script() {
    log_printf("EOF encountered in script file %s\n", SCRIPT_NAME);
    script_stop_playback();
    script_close();
}

// Read the next line that is not a newline alone; false at the end of the file.
bool read_line(char* line) {
    do {
        if (!std::fgets(line, SCRIPT_LINE_BUFFER, runtime.script.script_file) ||
            std::feof(runtime.script.script_file))
            return false;
    } while (std::strcmp(line, "\n") == 0);
    return true;
}

int make_event_from(const char* line) {
    auto& e = runtime.events;
    if (std::strlen(line) < 7) return 0;
    size_t pos = 6;
    switch (line[6]) {
        case 'K':
            e.pending_kind = MORLU_KBD;
            e.event_key = static_cast<int8_t>(static_cast<uint8_t>(scan_number(line, pos, true) & 0xFF));
            return 1;
        case 'M':
            e.pending_kind = MORLU_MOUSE;
            e.event_x = scan_number(line, pos, true);
            e.event_y = scan_number(line, pos, true);
            return 1;
        case 'P':
            e.pending_kind = MORLU_PERIODIC;
            runtime.script.periodic_count = scan_number(line, pos, false) - 1;
            return 1;
        default:
            return 0;
    }
}

}  // namespace

void script_write_event(int kind, int x, int y, int8_t key) {
    auto& s = runtime.script;
    if (!s.script_file && !(s.script_file = std::fopen(SCRIPT_NAME, "wt"))) {
        log_printf("Cannot open script file %s for writing\n", SCRIPT_NAME);
        return;
    }
    switch (kind) {
        case MORLU_MOUSE:
            std::fprintf(s.script_file, "MORLU_MOUSE(%d, %d);\n", x, y);
            break;
        case MORLU_KBD:
            std::fprintf(s.script_file, "MORLU_KBD(%d);\n", static_cast<int>(key));
            break;
        case MORLU_PERIODIC:
            std::fprintf(s.script_file, "MORLU_PERIODIC(%d);\n", s.periodic_count);
            break;
        default:
            break;
    }
}

int script_read_event() {
    auto& s = runtime.script;
    if (!s.script_file && !(s.script_file = std::fopen(SCRIPT_NAME, "rt"))) {
        log_printf("Cannot open script file %s for reading\n", SCRIPT_NAME);
        script_stop_playback();
        return 0;
    }
    if (s.periodic_count > 0) {
        --s.periodic_count;
        runtime.events.pending_kind = MORLU_PERIODIC;
        return 1;
    }
    char line[SCRIPT_LINE_BUFFER];
    if (!read_line(line)) {
        end_of_script();
        return 0;
    }
    return make_event_from(line);
}

void script_stop_playback() {
    runtime.script.playback = 0;
    runtime.script.play_one = 0;
    check_menu_item(runtime.menu.run_menu, CMD_PLAYBACK, MF_UNCHECKED);
}

void script_close() {
    if (!runtime.script.script_file) return;
    std::fclose(runtime.script.script_file);
    runtime.script.script_file = nullptr;
}

void script_toggle_recording() {
    auto& s = runtime.script;
    if (s.recording) {
        s.recording = 0;
        check_menu_item(runtime.menu.run_menu, CMD_RECORD, MF_UNCHECKED);
        if (s.periodic_count > 0) {
            const auto& e = runtime.events;
            script_write_event(MORLU_PERIODIC, e.event_x, e.event_y, e.event_key);
            s.periodic_count = 0;
        }
        script_close();
        return;
    }
    s.recording = 1;
    check_menu_item(runtime.menu.run_menu, CMD_RECORD, MF_CHECKED);
}

void script_toggle_playback() {
    auto& s = runtime.script;
    if (s.playback) {
        s.playback = 0;
        check_menu_item(runtime.menu.run_menu, CMD_PLAYBACK, MF_UNCHECKED);
        script_close();
        return;
    }
    runtime.events.running = 0;
    runtime.events.single_step = 0;
    s.playback = 1;
    check_menu_item(runtime.menu.run_menu, CMD_PLAYBACK, MF_CHECKED);
}

void script_play_one() {
    runtime.script.play_one = 1;
    runtime.events.running = 0;
    runtime.events.single_step = 0;
}
