// The process in the browser edition: a page receives no signals and has no
// console to press Ctrl+C in, so nothing asks the program to end from outside
// its windows, and the quit watch is never started (the page's program runs on
// the page's only thread). A crash stops the program's module, and the page
// says so.
#include <cstdio>
#include <cstdlib>

#include "../process/crash_report.h"
#include "../process/quit_requests.h"

namespace morlu::platform {

void catch_quit_requests(const char*) {
}

void release_quit_requests() {
}

void wait_for_watch(Millis) {
}

void wake_watch() {
}

const char* take_quit_request() {
    return nullptr;
}

[[noreturn]] void end_as_requested() {
    end_process(0);
}

[[noreturn]] void end_process(int status) {
    std::fflush(nullptr);
    std::_Exit(status);
}

void catch_crashes(const char*) {
}

}  // namespace morlu::platform
