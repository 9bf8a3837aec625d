// The statuses a run ends with when morlu, not the program, decides it. A
// program's own status passes through unchanged; these follow the sysexits
// convention, so a checker can tell them from the 0, 1 or 2 a program returns.
#pragma once

namespace morlu {

constexpr int EXIT_NO_DISPLAY = 1;      // no desktop to open the windows on
constexpr int EXIT_USAGE = 64;          // an option that is not understood
constexpr int EXIT_BAD_TAPE = 65;       // a tape line not understood, or a tape that is not UTF-8 text
constexpr int EXIT_NO_TAPE = 66;        // the tape cannot be opened or read
constexpr int EXIT_EXPECTATION = 68;    // an expectation of the tape did not hold
constexpr int EXIT_ENDED_EARLY = 69;    // the program ended before its tape did
constexpr int EXIT_WOULD_NOT_END = 70;  // morlu ended a program that would not end after the quit
constexpr int EXIT_CANNOT_WRITE = 73;   // a snapshot, log or GIF could not be written

}  // namespace morlu
