// Recording the events the program receives to "MORLU.SCR". Every line goes to
// the disk as it is made, and the line of the current run of ticks is rewritten
// in place as the run grows, so a program killed at any moment leaves a file of
// whole lines that loses at most the event in flight.
#include <climits>
#include <cstring>
#include <string>

#include "runtime_state.h"
#include "script_file.h"

using namespace morlu::platform;

namespace {

// The line an event is written as; empty for a kind that has none.
std::string line_for(int kind, int x, int y, int8_t key, int32_t count) {
    char line[64] = {};
    switch (kind) {
        case MORLU_MOUSE:
            std::snprintf(line, sizeof line, "MORLU_MOUSE(%d, %d);\n", x, y);
            break;
        case MORLU_KBD:
            std::snprintf(line, sizeof line, "MORLU_KBD(%d);\n", static_cast<int>(key));
            break;
        case MORLU_PERIODIC:
            std::snprintf(line, sizeof line, "MORLU_PERIODIC(%d);\n", count);
            break;
        default:
            break;
    }
    return line;
}

// Recording cannot go on: stop it as the Record item would, but write nothing
// more. The file keeps what it holds.
void abandon_recording() {
    auto& s = runtime.script;
    s.recording = 0;
    s.periodic_count = 0;
    s.run_line_length = 0;
    check_menu_item(runtime.menu.run_menu, CMD_RECORD, MF_UNCHECKED);
    script_close();
}

// A write failed (a full disk, a lost file system): say why, cut the file back
// to the end of its last whole line, and stop recording.
void recording_failed(int error) {
    auto& s = runtime.script;
    log_printf("Cannot write script file %s (%s); recording stopped\n", SCRIPT_NAME, std::strerror(error));
    script_file_cut(s.script_file, s.whole_length);  // a failure here leaves nothing better to do
    abandon_recording();
}

// Put `text` right after the file's whole lines. A finished line becomes one of
// them; the run's line stays open to be rewritten with a larger count.
bool put_line(const std::string& text, bool finished) {
    auto& s = runtime.script;
    // Writing on into a file that was deleted, or whose folder went, would lose
    // every later event without a word.
    if (!script_file_still_named(s.script_file, SCRIPT_NAME)) {
        log_printf("Script file %s was deleted or replaced; recording stopped\n", SCRIPT_NAME);
        abandon_recording();
        return false;
    }
    if (const int error = script_file_write_at(s.script_file, s.whole_length, text)) {
        recording_failed(error);
        return false;
    }
    if (finished) s.whole_length += static_cast<int64_t>(text.size());
    return true;
}

// The run of ticks is over: its line, already on the disk with its final count,
// becomes a whole line.
void end_run() {
    auto& s = runtime.script;
    s.whole_length += s.run_line_length;
    s.run_line_length = 0;
    s.periodic_count = 0;
}

// One more tick in the run: its line on the disk is rewritten with the new count.
// The run's first tick opens the file as any event would; when that failed, and
// said so, the rest of the run is not tried again.
void record_tick() {
    auto& s = runtime.script;
    if (s.periodic_count == INT32_MAX) end_run();  // the count fits in the line's int
    ++s.periodic_count;
    if (s.periodic_count == 1 ? !script_open_for_writing() : s.run_line_length == 0) return;
    const std::string text = line_for(MORLU_PERIODIC, 0, 0, 0, s.periodic_count);
    if (put_line(text, false)) s.run_line_length = static_cast<int32_t>(text.size());
}

}  // namespace

bool script_open_for_writing() {
    auto& s = runtime.script;
    if (s.script_file && s.file_writing) return true;
    script_close();
    ScriptRefusal why = ScriptRefusal::none;
    s.script_file = script_file_open_write(SCRIPT_NAME, why);
    s.whole_length = 0;
    s.run_line_length = 0;
    s.file_writing = s.script_file != nullptr;
    if (s.script_file) return true;
    script_report_refusal(why, true);
    // Another recorder owns the file: this program does not record at all.
    if (why == ScriptRefusal::in_use) abandon_recording();
    return false;
}

void script_write_event(int kind, int x, int y, int8_t key) {
    auto& s = runtime.script;
    if (kind == MORLU_PERIODIC) {
        end_run();
        return;
    }
    if (!script_open_for_writing()) return;
    const std::string text = line_for(kind, x, y, key, s.periodic_count);
    if (!text.empty()) put_line(text, true);
}

void script_record_event() {
    const auto& e = runtime.events;
    if (e.pending_kind == MORLU_PERIODIC) {
        record_tick();
        return;
    }
    end_run();
    script_write_event(e.pending_kind, e.event_x, e.event_y, e.event_key);
}

void script_stop_recording() {
    runtime.script.recording = 0;
    check_menu_item(runtime.menu.run_menu, CMD_RECORD, MF_UNCHECKED);
    end_run();
    script_close();
}
