// Playing back "MORLU.SCR", and the Run menu's script commands.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "runtime_state.h"
#include "script_file.h"
#include "text_start.h"

using namespace morlu::platform;

namespace {

// A run of blank lines longer than this is read over several calls.
constexpr int SCRIPT_BLANK_LINES_PER_READ = 256;
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

// What one read of the reader found.
enum class LineRead { line, blank_run, end };

// Read the next line that is not a newline alone. A run of blank lines is read
// a bounded piece per call, so a file of nothing but newlines lets the window
// live between pieces as ordinary lines do.
LineRead read_line(char* line) {
    std::FILE* f = runtime.script.script_file;
    for (int blank = 0; blank < SCRIPT_BLANK_LINES_PER_READ; ++blank) {
        if (!std::fgets(line, SCRIPT_LINE_BUFFER, f) || std::feof(f)) return LineRead::end;
        drop_carriage_return(line);
        if (std::strcmp(line, "\n") != 0) return LineRead::line;
    }
    return LineRead::blank_run;
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

// Position a file just opened for reading at its first line: after a UTF-8
// byte-order mark, which an editor may have put there. False for UTF-16 text.
bool skip_to_first_line(std::FILE* f) {
    char head[TEXT_START_SAMPLE];
    const size_t n = std::fread(head, 1, sizeof head, f);
    const TextStart start = classify_text_start({head, n});
    std::rewind(f);
    if (start == TextStart::utf8_mark) std::fseek(f, UTF8_MARK_LENGTH, SEEK_SET);
    return start != TextStart::utf16;
}

bool open_for_reading() {
    auto& s = runtime.script;
    if (s.script_file && !s.file_writing) return true;
    script_close();
    ScriptRefusal why = ScriptRefusal::none;
    s.script_file = script_file_open_read(SCRIPT_NAME, why);
    s.file_writing = false;
    if (s.script_file && !skip_to_first_line(s.script_file)) {
        script_file_close(s.script_file);
        s.script_file = nullptr;
        why = ScriptRefusal::utf16_text;
    }
    if (s.script_file) return true;
    script_report_refusal(why, false);
    return false;
}

// Playing and recording share the one file: starting to play ends a recording.
void end_recording_for_playback() {
    if (!runtime.script.recording) return;
    log_printf("Recording to %s stopped for playback\n", SCRIPT_NAME);
    script_stop_recording();
}

}  // namespace

void script_report_refusal(ScriptRefusal why, bool writing) {
    switch (why) {
        case ScriptRefusal::symbolic_link:
            log_printf("Script file %s is a symbolic link, not a regular file\n", SCRIPT_NAME);
            break;
        case ScriptRefusal::not_regular:
            log_printf("Script file %s is %s, not a regular file\n", SCRIPT_NAME,
                       script_file_kind(SCRIPT_NAME));
            break;
        case ScriptRefusal::in_use:
            log_printf("Script file %s is in use by another program\n", SCRIPT_NAME);
            break;
        case ScriptRefusal::utf16_text:
            log_printf("Script file %s is UTF-16 text; save it as UTF-8\n", SCRIPT_NAME);
            break;
        default:
            if (writing)
                log_printf("Cannot open script file %s for writing\n", SCRIPT_NAME);
            else
                log_printf("Cannot open script file %s for reading\n", SCRIPT_NAME);
            break;
    }
}

int script_read_event() {
    auto& s = runtime.script;
    if (!open_for_reading()) {
        script_stop_playback();
        return 0;
    }
    if (s.periodic_owed > 0) {
        --s.periodic_owed;
        runtime.events.pending_kind = MORLU_PERIODIC;
        return 1;
    }
    char line[SCRIPT_LINE_BUFFER];
    switch (read_line(line)) {
        case LineRead::blank_run:
            return SCRIPT_NOT_YET;
        case LineRead::end:
            end_of_script();
            return 0;
        case LineRead::line:
            break;
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
    const int error = script_file_close(s.script_file);
    if (error && s.file_writing)
        log_printf("Cannot close script file %s (%s)\n", SCRIPT_NAME, std::strerror(error));
    s.script_file = nullptr;
    s.file_writing = false;
    s.periodic_owed = 0;  // what a PERIODIC line still owed belongs to the file just closed
}

void script_toggle_recording() {
    auto& s = runtime.script;
    if (s.recording) {
        script_stop_recording();
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
