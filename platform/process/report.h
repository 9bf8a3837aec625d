// Telling the user, in one line, what went wrong with the program as a whole:
// a mistake in how it was started, a crash, a program that would not end.
#pragma once

namespace morlu::platform {

// Print one line (the format ends it with a newline) on standard error.
void report_line(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The same for a line after which the program ends: where the program has no
// console to print on (a Windows program started from Explorer), the line is
// shown in a message box instead, so it is not lost.
void report_fatal_line(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A run without windows (a tape run): from now on a fatal line is never shown
// in a message box, whatever the program's console. Elsewhere than in the
// Windows edition there are no boxes, and this changes nothing.
void report_without_desktop();

}  // namespace morlu::platform
