// Running untrusted programs: one run, in its own folder, under limits, its
// output captured. With bubblewrap the run sees only its folder, the system's
// programs and libraries and the installed morlu, with no network, and every
// process it started ends with it. Without it (a kernel that refuses the
// namespaces), only the limits, a process group and, for root, a user of its
// own guard the run.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace morlu::check {

enum class Isolation { bubblewrap, rlimits };

// Try bubblewrap for real once: a kernel or container may refuse its namespaces.
Isolation detect_isolation();
std::string describe(Isolation isolation);

struct RunLimits {
    int wall_seconds = 10;
    int cpu_seconds = 10;
    int memory_mb = 256;
    long long output_bytes = 256 * 1024;  // standard output and error together
    long long disk_bytes = 64LL << 20;    // what the run's folder may hold
    int processes = 32;
};

struct RunRequest {
    std::filesystem::path folder;                // read-write, the working directory
    std::vector<std::string> argv;               // the program and its arguments
    std::vector<std::filesystem::path> visible;  // more folders the run may read
    RunLimits limits;
    int slot = 0;  // the worker running it: its own user when the checker is root
};

// What is kept of a stream: its start and its end, never all of it.
struct Captured {
    std::string head;
    std::string tail;
    long long bytes = 0;
    void add(const char* data, size_t n);
    std::string text() const;  // head, a line saying what was left out, tail
};

struct RunOutcome {
    bool started = false;
    int exit_status = -1;  // when it ended by itself
    int signal = 0;        // when a signal ended it
    bool timed_out = false;
    bool too_much_output = false;
    bool too_much_disk = false;
    Captured out;
    Captured err;
    double seconds = 0;
};

// The user worker `slot` runs as when the checker is root: one per worker, so
// a limit on processes counts one run's alone, and one run cannot reach
// another's folder.
unsigned worker_uid(int slot);

RunOutcome run_sandboxed(const RunRequest& request, Isolation isolation);

// "segmentation fault" for SIGSEGV: the words a report shows after "crashed".
std::string signal_words(int signal);

}  // namespace morlu::check
