// Starting and stopping the runtime on a backend: the one sequence that the
// programs' entry, the tests, the fuzzers and the benchmarks share.
#pragma once

namespace morlu::platform {
class Backend;
}

// Forget every runtime and platform record of an earlier run (closing its script
// file), then start the platform layer on `backend`, which must outlive the run.
void runtime_start(morlu::platform::Backend& backend);
// Close the script file, destroy the windows and forget everything, so that a
// later runtime_start begins as a fresh process would.
void runtime_stop();
