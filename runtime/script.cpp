// Recording the events the program receives to "MORLU.SCR", and playing them back.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "runtime_state.h"

using namespace morlu::platform;

namespace {

constexpr const char* SCRIPT_NAME = "MORLU.SCR";
constexpr int SCRIPT_LINE_BUFFER = 512;
constexpr int SCRIPT_NUMBER_BUFFER = 12;

bool is_number_char(char c, bool allow_minus) {
    return std::isdigit(static_cast<unsigned char>(c)) || (allow_minus && c == '-');
}

// Scan one number from `pos`: skip to its first character, copy the run of
// digits (and minus signs, when allowed) into a 12-byte buffer, so at most 11
// characters, and convert that. `pos` ends after the run; the scan never passes
// the end of the line. A line without the number reads it as 0.
int scan_number(const char* line, size_t& pos, bool allow_minus) {
    const size_t len = std::strlen(line);
    while (pos < len && !is_number_char(line[pos], allow_minus)) ++pos;
    char number[SCRIPT_NUMBER_BUFFER] = {};
    size_t n = 0;
    for (; pos < len && is_number_char(line[pos], allow_minus); ++pos)
        if (n < SCRIPT_NUMBER_BUFFER - 1) number[n++] = line[pos];
    // strtol stops at a second minus sign; eleven characters cannot leave the int32 range
    // except by a little, which is held at the limits.
    const long value = std::strtol(number, nullptr, 10);
    return static_cast<int>(std::clamp<long>(value, INT32_MIN, INT32_MAX));
}

// A line that ended in "\r\n" reads as if it ended in "\n".
void drop_carriage_return(char* line) {
    const size_t len = std::strlen(line);
    if (len >= 2 && line[len - 2] == '\r' && line[len - 1] == '\n') {
        line[len - 2] = '\n';
        line[len - 1] = '\0';
    }
}

// Read the next line that is not a newline alone; false at the end of the file.
bool read_line(char* line) {
    std::FILE* f = runtime.script.script_file;
    do {
        if (!std::fgets(line, SCRIPT_LINE_BUFFER, f) || std::feof(f)) return false;
        drop_carriage_return(line);
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
            // This line's first periodic event now, the rest by the next reads.
            e.pending_kind = MORLU_PERIODIC;
            runtime.script.periodic_owed = std::max(scan_number(line, pos, false) - 1, 0);
            return 1;
        default:
            return 0;
    }
}

void end_of_script() {
    log_printf("EOF encountered in script file %s\n", SCRIPT_NAME);
    script_stop_playback();
    script_close();
}

bool open_for_reading() {
    auto& s = runtime.script;
    if (s.script_file && !s.file_writing) return true;
    script_close();
    s.script_file = std::fopen(SCRIPT_NAME, "rt");
    s.file_writing = false;
    return s.script_file != nullptr;
}

bool open_for_writing() {
    auto& s = runtime.script;
    if (s.script_file && s.file_writing) return true;
    script_close();
    s.script_file = std::fopen(SCRIPT_NAME, "wt");
    s.file_writing = s.script_file != nullptr;
    return s.script_file != nullptr;
}

// Write the periodic events counted so far as one line, if there are any.
void flush_periodic_count() {
    auto& s = runtime.script;
    if (s.periodic_count <= 0) return;
    const auto& e = runtime.events;
    script_write_event(MORLU_PERIODIC, e.event_x, e.event_y, e.event_key);
    s.periodic_count = 0;
}

void stop_recording() {
    auto& s = runtime.script;
    s.recording = 0;
    check_menu_item(runtime.menu.run_menu, CMD_RECORD, MF_UNCHECKED);
    flush_periodic_count();
    script_close();
}

// Playing and recording share the one file: starting to play ends a recording.
void end_recording_for_playback() {
    if (!runtime.script.recording) return;
    log_printf("Recording to %s stopped for playback\n", SCRIPT_NAME);
    stop_recording();
}

}  // namespace

void script_write_event(int kind, int x, int y, int8_t key) {
    auto& s = runtime.script;
    if (!open_for_writing()) {
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
            return;
    }
    // Each line reaches the file at once, so a program that dies loses at most the event in flight.
    std::fflush(s.script_file);
}

int script_read_event() {
    auto& s = runtime.script;
    if (!open_for_reading()) {
        log_printf("Cannot open script file %s for reading\n", SCRIPT_NAME);
        script_stop_playback();
        return 0;
    }
    if (s.periodic_owed > 0) {
        --s.periodic_owed;
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
    runtime.script.periodic_owed = 0;
    check_menu_item(runtime.menu.run_menu, CMD_PLAYBACK, MF_UNCHECKED);
}

void script_close() {
    auto& s = runtime.script;
    if (!s.script_file) return;
    std::fclose(s.script_file);
    s.script_file = nullptr;
    s.file_writing = false;
    s.periodic_owed = 0;  // what a PERIODIC line still owed belongs to the file just closed
}

void script_toggle_recording() {
    auto& s = runtime.script;
    if (s.recording) {
        stop_recording();
        return;
    }
    if (s.playback || s.play_one) {
        log_printf("Playback of %s stopped for recording\n", SCRIPT_NAME);
        script_stop_playback();
    }
    // A file left open for reading (after a play-one) is not the one to write to.
    if (s.script_file && !s.file_writing) script_close();
    s.recording = 1;
    s.periodic_count = 0;
    check_menu_item(runtime.menu.run_menu, CMD_RECORD, MF_CHECKED);
}

void script_toggle_playback() {
    auto& s = runtime.script;
    if (s.playback) {
        script_stop_playback();
        script_close();
        return;
    }
    end_recording_for_playback();
    runtime.events.running = 0;
    runtime.events.single_step = 0;
    s.playback = 1;
    check_menu_item(runtime.menu.run_menu, CMD_PLAYBACK, MF_CHECKED);
}

void script_play_one() {
    end_recording_for_playback();
    runtime.script.play_one = 1;
    runtime.events.running = 0;
    runtime.events.single_step = 0;
}
