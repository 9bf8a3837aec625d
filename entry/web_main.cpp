// What a morlu program's main does in the browser edition: run the program in
// the page (the graphics window a canvas, the log a panel), and, in a fresh
// instance of the same program that the page makes for it, run a tape on the
// headless backend exactly as `PROGRAM --tape FILE` does on the desktop.
#include <emscripten.h>

#include <cstdio>
#include <string>
#include <vector>

#include "exit_status.h"
#include "headless_run.h"
#include "platform/web/web_backend.h"
#include "platform/window/win_types.h"
#include "runtime_session.h"

// The page's side, in web_entry.js.
extern "C" {
// The log's stored lines, code page 1252 text, one per line.
void morlu_web_log(const char* text, int32_t length);
// The program's entry returned `status`.
void morlu_web_ended(int32_t status);
// A tape names an output: a picture (0) or a text file (1) it writes.
void morlu_web_tape_output(int32_t kind, const char* name);
}

namespace {

// Show the log's stored lines when they changed since they were last shown.
void show_log() {
    static std::string shown;
    std::string text;
    for (const std::string& line : log_stored_lines()) text += line + '\n';
    if (text == shown) return;
    shown = text;
    morlu_web_log(text.data(), static_cast<int32_t>(text.size()));
}

// Tell the page which files the tape writes, so that it can hand them back.
void name_outputs(const std::vector<morlu::TapeAction>& actions) {
    using Kind = morlu::TapeAction::Kind;
    for (const morlu::TapeAction& a : actions) {
        if (a.kind == Kind::snapshot || a.kind == Kind::snapshot_text)
            morlu_web_tape_output(0, a.text.c_str());
        if (a.kind == Kind::log) morlu_web_tape_output(1, a.text.c_str());
    }
}

}  // namespace

// The page starts the program with no options: a page has no command line.
int morlu_main(int, char**, MorluEntry entry) {
    if (!entry) {
        std::fprintf(stderr, "morlu: no program entry was given\n");
        morlu_web_ended(morlu::EXIT_USAGE);
        return morlu::EXIT_USAGE;
    }
    auto backend = morlu::platform::make_web_backend();
    backend->set_wait_hook(show_log);
    runtime_start(*backend);
    const int status = entry(1, 0, "", morlu::platform::SW_SHOWNORMAL);
    show_log();
    runtime_stop();
    morlu_web_ended(status);
    return status;
}

// Run the tape `text` from the program's start, in the module's own files;
// returns the status the desktop's --tape run would exit with.
extern "C" EMSCRIPTEN_KEEPALIVE int morlu_web_run_tape(const char* text) {
    std::string error;
    auto actions = morlu::parse_tape(text, error);
    if (!actions) {
        std::fprintf(stderr, "morlu: tape: %s\n", error.c_str());
        return morlu::EXIT_BAD_TAPE;
    }
    name_outputs(*actions);
    return morlu::run_headless(std::move(*actions), {.program = "morlu", .tape = "tape"}, app_main).status;
}
