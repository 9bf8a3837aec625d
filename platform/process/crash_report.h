// What a crashed program tells its user. Left alone, a crash says only
// "Segmentation fault" in the shell, or nothing at all when the program was
// started from a file manager; a beginner learns neither what happened nor how
// to find the line. Caught, it prints one line in plain words with what to do
// next, and a stack trace where the platform gives one, then ends with the
// status the crash would have given.
#pragma once

namespace morlu::platform {

// From now on, for the rest of the process: a fatal signal or an unhandled
// system exception, and a C++ exception nothing caught. `program` names the
// program in the line. A handler someone else installed first (a sanitizer's)
// is left in place, since it says more.
void catch_crashes(const char* program);

}  // namespace morlu::platform
