// The line itself, the same in every edition: formatted once and printed on
// standard error. Where the user may not read standard error, the edition shows
// a fatal line another way too (report_elsewhere.h).
#include <cstdarg>
#include <cstdio>

#include "report.h"
#include "report_elsewhere.h"

namespace morlu::platform {
namespace {

// Long enough for any line morlu writes, paths included; a longer one is cut.
constexpr size_t LINE_BYTES = 4096;

// Format and print one line; a fatal one is also shown where the edition shows them.
void report(bool fatal, const char* format, va_list args) __attribute__((format(printf, 2, 0)));
void report(bool fatal, const char* format, va_list args) {
    char line[LINE_BYTES];
    std::vsnprintf(line, sizeof line, format, args);
    std::fputs(line, stderr);
    std::fflush(stderr);
    if (fatal) report_elsewhere(line);
}

}  // namespace

void report_line(const char* format, ...) {
    va_list args;
    va_start(args, format);
    report(false, format, args);
    va_end(args);
}

void report_fatal_line(const char* format, ...) {
    va_list args;
    va_start(args, format);
    report(true, format, args);
    va_end(args);
}

}  // namespace morlu::platform
