// What the fuzzers share: a runtime opened afresh on the headless backend, and
// the check that turns a broken invariant into a crash libFuzzer keeps.
#pragma once

#include <optional>

#include "platform/headless/headless_backend.h"
#include "platform/window/platform.h"
#include "runtime_session.h"
#include "runtime_state.h"

namespace morlu::fuzz {

// libFuzzer saves the input of any crash; a trap gives it one with a stack.
inline void require(bool holds) {
    if (!holds) __builtin_trap();
}

// Forget the runtime, the platform and the backend, then open the two windows as
// a program does. A small screen keeps the console, redrawn for every log line,
// cheap; the graphics window is the same 601 x 540 on any screen.
inline void open_fresh_runtime(std::optional<platform::HeadlessBackend>& backend) {
    runtime_stop();
    backend.emplace(platform::Size{320, 240});
    runtime_start(*backend);
    canvas_open(1, 0, "", platform::SW_SHOW);
}

// Load the fonts before the first input, so an input's allocations are its own.
inline void load_fonts() {
    canvas_text(0, 0, 0, 12, "fonts");
    log_printf("fonts\n");
    canvas_clear();
}

}  // namespace morlu::fuzz
