// On a POSIX system a program always has standard error to print on.
#include <cstdarg>
#include <cstdio>

#include "report.h"

namespace morlu::platform {
namespace {

void print(const char* format, va_list args) __attribute__((format(printf, 1, 0)));
void print(const char* format, va_list args) {
    std::vfprintf(stderr, format, args);
    std::fflush(stderr);
}

}  // namespace

void report_line(const char* format, ...) {
    va_list args;
    va_start(args, format);
    print(format, args);
    va_end(args);
}

void report_fatal_line(const char* format, ...) {
    va_list args;
    va_start(args, format);
    print(format, args);
    va_end(args);
}

// A POSIX program's standard error is where its user reads it.
void report_without_desktop() {
}

}  // namespace morlu::platform
