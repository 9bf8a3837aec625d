// What the platforms' crash reports share: the program's name, and the words
// for a C++ exception that nothing caught.
#pragma once

#include <string>

namespace morlu::platform::crash {

// In a fixed buffer, so that a signal handler can read it without allocating.
extern char program[256];
void set_program(const char* name);

// What ended the program, in a sentence: the exception's type and message, or
// why std::terminate was called with none in flight.
std::string describe_uncaught();

// Make std::terminate print the line for an uncaught exception, then end as
// the platform's abort does (end_after_uncaught).
void catch_uncaught_exceptions();
[[noreturn]] void end_after_uncaught(const std::string& what);

// The advice after an uncaught exception, on every platform.
inline constexpr const char* UNCAUGHT_HINT =
    "catch it where it can be handled, or, to see where it was thrown, build with -g and run it under "
    "gdb with the command catch throw";

}  // namespace morlu::platform::crash
