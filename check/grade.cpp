// The verdict of one tape run, and the pictures that explain it.
#include "grade.h"

#include <csignal>
#include <fstream>

#include "compare.h"
#include "folders.h"
#include "safe_read.h"
#include "text.h"

namespace morlu::check {
namespace {

namespace fs = std::filesystem;

constexpr size_t MAX_LOG_BYTES = 1 << 20;
constexpr size_t MAX_GIF_BYTES = 16 << 20;
constexpr size_t MAX_LOG_DIFFERENCES = 20;
constexpr int STDERR_LINES = 20;
// bubblewrap ends with 128 + N when a signal N ended the program inside.
constexpr int SIGNAL_STATUS_BASE = 128;

// The signal that ended the program, seen through bubblewrap's status too.
int ending_signal(const Batch& b, const RunOutcome& o) {
    if (o.signal != 0) return o.signal;
    if (b.isolation == Isolation::bubblewrap && o.exit_status > SIGNAL_STATUS_BASE &&
        o.exit_status < SIGNAL_STATUS_BASE + 65) {
        return o.exit_status - SIGNAL_STATUS_BASE;
    }
    return 0;
}

bool ran_out_of_memory(const RunOutcome& o) {
    const std::string err = o.err.text();
    return err.find("bad_alloc") != std::string::npos || err.find("out of memory") != std::string::npos ||
           err.find("Cannot allocate memory") != std::string::npos;
}

// What morlu's own statuses mean, for a status that differs from the reference's.
std::string status_words(int status) {
    switch (status) {
        case 64:
            return " (an option was not understood)";
        case 65:
            return " (a tape line was not understood)";
        case 66:
            return " (the tape could not be read)";
        case 69:
            return " (the program ended before its tape did)";
        case 70:
            return " (the program would not end after the quit)";
        case 73:
            return " (a snapshot or log could not be written)";
        default:
            return "";
    }
}

std::string limit_problem(const Batch& b, const RunOutcome& o) {
    const Limits& l = b.assignment.limits;
    if (!o.started) return "could not be started";
    if (o.timed_out) return "timed out";
    if (o.too_much_output) return "too much output (over " + std::to_string(l.output_kb) + " KB)";
    if (o.too_much_disk) return "wrote too much (over " + std::to_string(l.disk_mb) + " MB)";
    return "";
}

std::string signal_problem(const Batch& b, const RunOutcome& o) {
    const int signal = ending_signal(b, o);
    if (signal == SIGXCPU)
        return "timed out (CPU time over " + std::to_string(b.assignment.limits.cpu_seconds) + " s)";
    if (signal == SIGXFSZ)
        return "wrote too much (a file over " + std::to_string(b.assignment.limits.disk_mb) + " MB)";
    if (signal != 0 && ran_out_of_memory(o)) {
        return "memory limit (" + std::to_string(b.assignment.limits.memory_mb) + " MB)";
    }
    if (signal != 0) return "crashed (" + signal_words(signal) + ")";
    return "";
}

void add_problem(TapeResult& t, const std::string& problem) {
    if (problem.empty()) return;
    if (t.problems.empty()) t.status = problem;
    t.problems.push_back(problem);
}

// A failing snapshot keeps three pictures: reference, submission, difference.
SnapshotResult judge_snapshot(const Batch& b,
                              size_t i,
                              const std::string& name,
                              const fs::path& run,
                              const fs::path& out) {
    SnapshotResult s;
    s.name = name;
    const auto want = read_png(b.reference_runs[i] / name);
    const auto got = read_png(run / name);
    if (!want) return s;  // the reference wrote it, so this cannot happen
    if (!got) {
        s.missing = true;
        return s;
    }
    const PictureDifference d = compare_pictures(*want, *got, b.assignment.compare.channel_tolerance);
    s.same_size = d.same_size;
    s.differing = d.differing;
    s.passed = d.same_size && d.differing <= b.assignment.compare.max_differing_pixels;
    if (s.passed) return s;
    const std::string stem = "tape" + std::to_string(i) + "-" + fs::path(name).stem().string();
    s.reference_file = "../reference/tape" + std::to_string(i) + "-" + name;
    s.submission_file = stem + "-submission.png";
    s.difference_file = stem + "-difference.png";
    write_png(out / s.submission_file, *got);
    write_png(out / s.difference_file, d.marked);
    return s;
}

std::string snapshot_problem(const SnapshotResult& s) {
    if (s.passed) return "";
    if (s.missing) return "no snapshot " + s.name;
    if (!s.same_size) return "snapshot " + s.name + " has another size";
    return "pictures differ (" + s.name + ": " + std::to_string(s.differing) + " pixels)";
}

void judge_logs(const Batch& b, size_t i, const fs::path& run, TapeResult& t) {
    for (const std::string& name : b.assignment.tapes[i].outputs.logs) {
        const auto want = read_plain_file(b.reference_runs[i] / name, MAX_LOG_BYTES);
        const auto got = read_plain_file(run / name, MAX_LOG_BYTES);
        if (!got) {
            add_problem(t, "no log " + name);
            continue;
        }
        const auto lines = compare_logs(clean_text(want.value_or("")), clean_text(*got), MAX_LOG_DIFFERENCES);
        if (lines.empty()) continue;
        add_problem(t, "log differs (" + name + ")");
        for (const std::string& l : lines) t.log_differences.push_back(name + " " + l);
    }
}

// The lines where the run reported a failed expect line.
std::vector<std::string> expectation_lines(const std::string& err) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start < err.size() && out.size() < 20) {
        size_t end = err.find('\n', start);
        if (end == std::string::npos) end = err.size();
        const std::string line = err.substr(start, end - start);
        const std::string prefix = std::string(PROGRAM_NAME) + ": ";
        if (line.find("expect") != std::string::npos) {
            out.push_back(line.starts_with(prefix) ? line.substr(prefix.size()) : line);
        }
        start = end + 1;
    }
    return out;
}

void keep_gif(const fs::path& run, const fs::path& out, const std::string& name, std::string& kept) {
    const auto gif = read_plain_file(run / ".run.gif", MAX_GIF_BYTES);
    if (!gif || gif->size() < 6 || gif->compare(0, 4, "GIF8") != 0) return;
    std::ofstream(out / name, std::ios::binary) << *gif;
    kept = name;
}

}  // namespace

std::string run_problem(const Batch& b, const RunOutcome& o, int expected_status) {
    std::string problem = limit_problem(b, o);
    if (problem.empty()) problem = signal_problem(b, o);
    if (problem.empty() && o.exit_status == morlu::EXIT_EXPECTATION && expected_status != o.exit_status) {
        problem = "failed expectation";
    }
    return problem;
}

TapeResult grade_tape(const Batch& b,
                      size_t i,
                      const RunOutcome& o,
                      const fs::path& run,
                      const fs::path& out) {
    const Tape& tape = b.assignment.tapes[i];
    TapeResult t;
    t.tape = tape.name;
    t.max_points = tape.points;
    t.seconds = o.seconds;
    t.stderr_end = clean_text(last_lines(o.err.text(), STDERR_LINES));
    const std::string problem = run_problem(b, o, b.reference_status[i]);
    add_problem(t, problem);
    if (problem.empty() && o.exit_status != b.reference_status[i]) {
        add_problem(t, "exit status " + std::to_string(o.exit_status) + status_words(o.exit_status) +
                           ", the reference's " + std::to_string(b.reference_status[i]));
    }
    if (o.exit_status == morlu::EXIT_EXPECTATION)
        t.expectations = expectation_lines(clean_text(o.err.text()));
    for (const std::string& name : tape.outputs.snapshots) {
        t.snapshots.push_back(judge_snapshot(b, i, name, run, out));
        add_problem(t, snapshot_problem(t.snapshots.back()));
    }
    judge_logs(b, i, run, t);
    keep_gif(run, out, "tape" + std::to_string(i) + ".gif", t.gif);
    t.points = t.passed() ? tape.points : 0;
    return t;
}

std::vector<TapeResult> not_built(const Batch& b, const StudentResult& r) {
    std::vector<TapeResult> out;
    for (const Tape& tape : b.assignment.tapes) {
        TapeResult t;
        t.tape = tape.name;
        t.max_points = tape.points;
        add_problem(t, r.unpack_error.empty() ? "compile error" : "not unpacked: " + r.unpack_error);
        out.push_back(t);
    }
    return out;
}

void keep_reference_outputs(const Batch& b, size_t i, const fs::path& run) {
    const fs::path out = b.out / "reference";
    for (const std::string& name : b.assignment.tapes[i].outputs.snapshots) {
        copy_file_to(run / name, out / ("tape" + std::to_string(i) + "-" + name));
    }
    std::string kept;
    keep_gif(run, out, "tape" + std::to_string(i) + ".gif", kept);
}

}  // namespace morlu::check
