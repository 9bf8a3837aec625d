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

void format_line(char (&line)[LINE_BYTES], const char* format, va_list args)
    __attribute__((format(printf, 2, 0)));
void format_line(char (&line)[LINE_BYTES], const char* format, va_list args) {
    std::vsnprintf(line, sizeof line, format, args);
}

void print(const char* line) {
    std::fputs(line, stderr);
    std::fflush(stderr);
}

}  // namespace

void report_line(const char* format, ...) {
    char line[LINE_BYTES];
    va_list args;
    va_start(args, format);
    format_line(line, format, args);
    va_end(args);
    print(line);
}

void report_fatal_line(const char* format, ...) {
    char line[LINE_BYTES];
    va_list args;
    va_start(args, format);
    format_line(line, format, args);
    va_end(args);
    print(line);
    report_elsewhere(line);
}

}  // namespace morlu::platform
