// The system's requests that the program end, sent from outside its windows:
// SIGINT, SIGTERM and SIGHUP on a POSIX system; the console's Ctrl+C,
// Ctrl+Break and close on Windows. Caught while the quit watch runs, so that the
// program can end in order; this header is what the watch needs of the system.
#pragma once

#include "../window/backend.h"

namespace morlu::platform {

// Catch the requests from now on. The first wakes the watch; a second ends the
// process at once, with one line naming `program` and the request.
void catch_quit_requests(const char* program);
// Stop catching them: from now on they act as they did before.
void release_quit_requests();

// The watch's sleep: until a request comes, wake_watch is called, or `timeout`
// passes (Millis::max() for none).
void wait_for_watch(Millis timeout);
// Any thread: end the watch's sleep.
void wake_watch();

// The first request caught, in words for a line ("Ctrl+C (SIGINT)"), once;
// nullptr when none has come or it was taken already.
const char* take_quit_request();

// End the process as the first request would have ended it, had nothing caught it.
[[noreturn]] void end_as_requested();
// End the process now with `status`, writing out first what the C library holds
// for standard output and error when that cannot block.
[[noreturn]] void end_process(int status);

}  // namespace morlu::platform
