// Running the bug program on the headless backend, driven by a tape.
#pragma once

#include <string>
#include <vector>

#include "platform/headless/tape.h"
#include "platform/window/backend.h"

namespace morlu {

struct HeadlessRun {
    int status = 0;    // the program's exit status, or 3 when an output could not be written
    int failures = 0;  // outputs that could not be written
};

// Run app_main with the tape's actions in the current directory, on a screen of
// the given size, and return its status.
HeadlessRun run_headless(std::vector<platform::TapeAction> actions, platform::Size screen = {1024, 768});

}  // namespace morlu
