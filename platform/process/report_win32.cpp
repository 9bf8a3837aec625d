// The Windows edition: standard error, until it learns about programs without a console.
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

}  // namespace morlu::platform
