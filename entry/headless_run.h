// Running a program on the headless backend, driven by a tape of user actions.
#pragma once

#include <string>
#include <vector>

#include "morlu/canvas.h"
#include "platform/window/backend.h"
#include "tape.h"

namespace morlu {

struct HeadlessOptions {
    platform::Size screen{1024, 768};
    std::string program = "morlu-headless";  // names the program in messages
    std::string command_line;                // what the entry receives as its command line
    // Watch over the program as a program's own run is watched: a program that
    // will not end after the quit, or a signal, is ended (tests leave it off).
    bool watch_quit = false;
    std::string tape = "tape";  // names the tape in failed expectations' messages
    std::string gif;            // when set, the GIF file of what the graphics window showed
};

struct HeadlessRun {
    int status = 0;               // the exit status: the program's, or morlu's own (see run_headless)
    int failures = 0;             // outputs that could not be written
    int unperformed = 0;          // actions left when the program ended
    int expectations = 0;         // expectations performed
    int expectations_failed = 0;  // and those that did not hold
};

// Run `entry` in the current directory with the tape's actions, on a screen of
// the given size. The status is the program's; when the program returned 0, it
// is EXIT_CANNOT_WRITE when an output could not be written, else EXIT_ENDED_EARLY
// when the program ended before the tape did, else EXIT_EXPECTATION when an
// expectation did not hold (each reported on stderr). The order puts first what
// makes the run's other results least trustworthy: a missing output, then actions
// never performed (their expectations were not even tried). A GIF that could
// not be written counts as an output that could not be.
HeadlessRun run_headless(std::vector<TapeAction> actions,
                         const HeadlessOptions& options = {},
                         MorluEntry entry = app_main);

// Read and parse the tape file, then run it. A tape that cannot be read (a
// folder, a missing or unreadable file) is reported on stderr with the status
// EXIT_NO_TAPE; a line that is not understood, or a tape that is UTF-16 text, with
// EXIT_BAD_TAPE.
int run_tape_file(const char* path, const HeadlessOptions& options, MorluEntry entry);

}  // namespace morlu
