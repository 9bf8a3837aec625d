// The reference's runs, and one submission from its sources to its results.
#include "batch.h"

#include <sys/stat.h>

#include "folders.h"
#include "grade.h"
#include "text.h"

namespace morlu::check {
namespace {

namespace fs = std::filesystem;

constexpr const char* GIF_NAME = ".run.gif";

RunLimits run_limits(const Limits& l) {
    return {.wall_seconds = l.seconds,
            .cpu_seconds = l.cpu_seconds,
            .memory_mb = l.memory_mb,
            .output_bytes = static_cast<long long>(l.output_kb) << 10,
            .disk_bytes = static_cast<long long>(l.disk_mb) << 20,
            .processes = l.processes};
}

// Run `program` through tape `i` in a fresh `folder`.
RunOutcome run_tape(const Batch& b, const fs::path& program, size_t i, const fs::path& folder, int slot) {
    const Tape& tape = b.assignment.tapes[i];
    RunOutcome o;
    if (!make_fresh_folder(folder) || !copy_file_to(program, folder / PROGRAM_NAME) ||
        !copy_file_to(tape.file, folder / tape.name)) {
        o.err.add("the checker could not prepare the run's folder", 46);
        return o;
    }
    hand_over(folder, slot);
    RunRequest r;
    r.folder = folder;
    r.argv = {(folder / PROGRAM_NAME).string(), "--tape", tape.name};
    if (b.gifs) r.argv.insert(r.argv.end(), {"--gif", GIF_NAME});
    r.visible = b.toolchain.visible;
    r.limits = run_limits(b.assignment.limits);
    r.slot = slot;
    o = run_sandboxed(r, b.isolation);
    take_back(folder);
    return o;
}

// Build the sources already in `folder` as worker `slot`.
BuildResult build_in(const Batch& b, const fs::path& folder, int slot) {
    hand_over(folder, slot);
    BuildResult built = build_submission(b.assignment, b.toolchain, folder, b.isolation, slot);
    take_back(folder);
    return built;
}

bool reference_failure(const Batch& b, size_t i, const RunOutcome& o, std::string& error) {
    const std::string problem = run_problem(b, o, 0);
    if (problem.empty() && o.exit_status == 0) return false;
    error = "the reference fails tape " + b.assignment.tapes[i].name + ": " +
            (problem.empty() ? "exit status " + std::to_string(o.exit_status) : problem) + "\n" +
            o.err.text();
    return true;
}

// Whether the installed morlu records GIFs: its programs list --gif in --help.
bool writes_gifs(const Batch& b, const fs::path& program) {
    const fs::path folder = b.work / "help";
    if (!make_fresh_folder(folder) || !copy_file_to(program, folder / PROGRAM_NAME)) return false;
    hand_over(folder, 0);
    RunRequest r;
    r.folder = folder;
    r.argv = {(folder / PROGRAM_NAME).string(), "--help"};
    r.visible = b.toolchain.visible;
    r.limits = run_limits(b.assignment.limits);
    const RunOutcome o = run_sandboxed(r, b.isolation);
    take_back(folder);
    return (o.out.text() + o.err.text()).find("--gif") != std::string::npos;
}

}  // namespace

bool prepare_reference(Batch& b, std::string& error) {
    const fs::path folder = b.work / "reference";
    const fs::path build = folder / "build";
    if (!make_fresh_folder(folder) || !make_fresh_folder(build)) {
        error = "cannot make the checker's work folder " + folder.string();
        return false;
    }
    const Submission reference{"reference", b.assignment.folder / "reference", false};
    if (!unpack_sources(reference, b.assignment.sources, build, error)) {
        error = "the reference: " + error;
        return false;
    }
    const BuildResult built = build_in(b, build, 0);
    if (!built.built) {
        error = "the reference does not build:\n" + built.messages;
        return false;
    }
    b.gifs = writes_gifs(b, built.program);
    std::error_code ec;
    fs::create_directories(b.out / "reference", ec);
    for (size_t i = 0; i < b.assignment.tapes.size(); ++i) {
        const fs::path run = folder / ("tape" + std::to_string(i));
        const RunOutcome o = run_tape(b, built.program, i, run, 0);
        if (reference_failure(b, i, o, error)) return false;
        b.reference_runs.push_back(run);
        b.reference_status.push_back(o.exit_status);
        keep_reference_outputs(b, i, run);
    }
    return true;
}

StudentResult check_submission(const Batch& b, const Submission& s, size_t index, int slot) {
    StudentResult r;
    r.student = s.student;
    r.isolation = describe(b.isolation);
    // Numbered, not named: a student's name never becomes a path of the work folder.
    std::string number = "s";
    number += std::to_string(index);
    const fs::path folder = b.work / number;
    const fs::path build = folder / "build";
    const fs::path out = b.out / folder_name_for(s.student);
    std::error_code ec;
    fs::create_directories(out, ec);
    if (make_fresh_folder(folder) && make_fresh_folder(build) &&
        unpack_sources(s, b.assignment.sources, build, r.unpack_error)) {
        const BuildResult built = build_in(b, build, slot);
        r.built = built.built;
        r.compiler_messages = clean_text(built.messages);
        for (size_t i = 0; r.built && i < b.assignment.tapes.size(); ++i) {
            const fs::path run = folder / ("tape" + std::to_string(i));
            const RunOutcome o = run_tape(b, built.program, i, run, slot);
            r.tapes.push_back(grade_tape(b, i, o, run, out));
            std::error_code ec;
            fs::remove_all(run, ec);
        }
    } else if (r.unpack_error.empty()) {
        r.unpack_error = "the checker could not make its work folder";
    }
    if (!r.built) r.tapes = not_built(b, r);
    fs::remove_all(folder, ec);
    write_student_result(out, r);
    return r;
}

}  // namespace morlu::check
