// Writing out what the C library holds for standard output and error when the
// process is about to end abruptly: a tape run's log is standard output, and a
// crash or a forced end must not lose its last lines.
#pragma once

namespace morlu::platform {

// Safe where the program's own thread may be stopped inside a print (a signal
// handler, a watch ending the process): a stream whose lock is held elsewhere is
// left as it is rather than waited for.
void flush_output_without_waiting();

}  // namespace morlu::platform
