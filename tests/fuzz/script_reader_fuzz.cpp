// Any bytes as MORLU.SCR: played to the end, a script gives only mouse, key and
// tick events, stops cleanly with the file closed, and plays the same events one
// command at a time as it does in one playback.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_runtime.h"

namespace {

using namespace morlu::platform;
using morlu::fuzz::require;

// A PERIODIC line may owe 2^31 ticks; a play stops after this many events.
constexpr size_t MAX_EVENTS = 10000;
// Trace entries that are not events: a line the reader did not take, and the end.
constexpr int STOPPED = -1;
constexpr int ENDED = -2;

struct Event {
    int kind = 0;
    int x = 0;
    int y = 0;
    char key = 0;
    friend bool operator==(const Event&, const Event&) = default;
};

enum class Mode { play_one, playback };

std::optional<HeadlessBackend> backend;

void command(uint32_t id) {
    send_message(runtime.window.graphics_window, WM_COMMAND, id, 0);
}

bool playback_checked() {
    const int was = check_menu_item(runtime.menu.run_menu, CMD_PLAYBACK, MF_UNCHECKED);
    check_menu_item(runtime.menu.run_menu, CMD_PLAYBACK, static_cast<uint32_t>(was));
    return was == static_cast<int>(MF_CHECKED);
}

// A script event carries only what its kind has: stale coordinates or a stale
// character from an earlier event would reach the program as real input.
void check_event(const Event& e) {
    require(e.kind == MORLU_MOUSE || e.kind == MORLU_KBD || e.kind == MORLU_PERIODIC);
    if (e.kind != MORLU_MOUSE) require(e.x == 0 && e.y == 0);
    if (e.kind != MORLU_KBD) require(e.key == 0);
    require(runtime.script.periodic_owed >= 0);
}

// The end of the file stops every kind of play, closes the file, owes nothing
// more and says so in the log; so does a file refused as UTF-16 text, which
// plays nothing.
void check_ended() {
    const auto& s = runtime.script;
    require(s.script_file == nullptr);
    require(!s.playback && !s.play_one && s.periodic_owed == 0);
    require(!playback_checked());
    const auto lines = log_stored_lines();
    require(!lines.empty() && (lines.back() == "EOF encountered in script file MORLU.SCR" ||
                               lines.back() == "Script file MORLU.SCR is UTF-16 text; save it as UTF-8"));
}

// Out of events to spend: playback toggled off closes the file whatever was owed.
void stop_early() {
    if (!runtime.script.playback) command(CMD_PLAYBACK);
    command(CMD_PLAYBACK);
    const auto& s = runtime.script;
    require(s.script_file == nullptr && !s.playback && !s.play_one && s.periodic_owed == 0);
}

// Play the script from its first line. Play-one asks for each event; playback is
// asked once and again after a line that stopped it. A wait that ends in
// MORLU_QUIT means the script delivered nothing: the headless backend has no
// input to give instead.
std::vector<Event> play(Mode mode) {
    std::vector<Event> trace;
    if (mode == Mode::playback) command(CMD_PLAYBACK);
    while (trace.size() < MAX_EVENTS) {
        if (mode == Mode::play_one) command(CMD_PLAY_ONE);
        Event e;
        e.kind = canvas_await_event(&e.x, &e.y, &e.key);
        if (e.kind != MORLU_QUIT) {
            check_event(e);
            trace.push_back(e);
            continue;
        }
        require(!runtime.script.playback && !runtime.script.play_one);
        if (!runtime.script.script_file) {
            check_ended();
            trace.push_back({.kind = ENDED});
            return trace;
        }
        trace.push_back({.kind = STOPPED});
        if (mode == Mode::playback) command(CMD_PLAYBACK);
    }
    stop_early();
    return trace;
}

// The windows, the back buffer and the platform stay open from input to input:
// making them costs far more than a short script. What a script can change is
// set back to its start, the log included, so an input is checked only by what
// it did itself.
void forget_last_script() {
    script_close();
    script_stop_playback();
    runtime.script = decltype(runtime.script){};
    runtime.events = decltype(runtime.events){};
    runtime.log = decltype(runtime.log){};
}

std::string folder;

void remove_folder() {
    std::remove("MORLU.SCR");
    if (chdir("/") == 0) rmdir(folder.c_str());
}

}  // namespace

// Every input is read from MORLU.SCR in the current folder: work in one of our
// own. Paths given to the fuzzer (corpus, artifacts) must therefore be absolute.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char name[] = "/tmp/morlu-script-fuzz-XXXXXX";
    if (!mkdtemp(name) || chdir(name) != 0) {
        std::perror("script_reader_fuzz: cannot make a working folder");
        std::abort();
    }
    folder = name;
    std::atexit(remove_folder);
    morlu::fuzz::open_fresh_runtime(backend);
    morlu::fuzz::load_fonts();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen("MORLU.SCR", "wb");
    require(f != nullptr);
    require(size == 0 || std::fwrite(data, 1, size, f) == size);
    std::fclose(f);
    forget_last_script();
    const std::vector<Event> one_by_one = play(Mode::play_one);
    require(play(Mode::playback) == one_by_one);
    return 0;
}
