// morlu-check: check a class's morlu programs against a teacher's reference.
//
//   morlu-check ASSIGNMENT SUBMISSIONS -o OUT [-j N]   check every submission
//   morlu-check report OUT... [-o DIR]                 merge results into one report
//   morlu-check --isolation                            how runs are isolated here
//
// Exit status: 0 when every submission was checked (whatever its score), 64
// for a command line not understood, 65 for an assignment that is wrong (the
// file, or a reference that fails its own tapes), 66 for a folder that cannot
// be read, 69 when pkg-config does not find morlu, 70 when the checker itself
// fails, 73 when OUT cannot be written.
#include <sys/prctl.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "batch.h"
#include "class_results.h"
#include "folders.h"
#include "progress.h"

namespace {

namespace fs = std::filesystem;
using namespace morlu::check;

constexpr int EXIT_USAGE = 64;
constexpr int EXIT_BAD_ASSIGNMENT = 65;
constexpr int EXIT_NO_INPUT = 66;
constexpr int EXIT_NO_MORLU = 69;
constexpr int EXIT_SOFTWARE = 70;
constexpr int EXIT_CANNOT_WRITE = 73;

const char* const USAGE =
    "usage: morlu-check ASSIGNMENT SUBMISSIONS -o OUT [-j N]\n"
    "       morlu-check report OUT... [-o DIR]\n"
    "       morlu-check --isolation\n"
    "  ASSIGNMENT   a folder with assignment.toml, reference/ and the tapes\n"
    "  SUBMISSIONS  a folder with one folder or one .zip per student\n"
    "  -o OUT       where report.html, grades.csv and STUDENT/results.json go\n"
    "  -j N         check N submissions at once (1)\n"
    "  report       merge the results of several OUT folders into DIR (the first OUT)\n"
    "  --isolation  say how runs would be isolated here: bubblewrap, or limits alone\n";

struct Options {
    std::vector<std::string> inputs;
    std::string out;
    int jobs = 1;
    bool report = false;
};

int usage_error(const std::string& message) {
    std::fprintf(stderr, "morlu-check: %s\n%s", message.c_str(), USAGE);
    return EXIT_USAGE;
}

int fail(int status, const std::string& message) {
    std::fprintf(stderr, "morlu-check: %s\n", message.c_str());
    return status;
}

// False, with `error` set, for a command line not understood.
bool parse(int argc, char** argv, Options& o, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string value;
        // -j2 and -oOUT as well as -j 2 and -o OUT.
        if ((arg.starts_with("-o") || arg.starts_with("-j")) && arg.size() > 2) {
            value = arg.substr(2);
            arg.resize(2);
        } else if ((arg == "-o" || arg == "-j") && i + 1 < argc) {
            value = argv[++i];
        } else if (arg == "-o" || arg == "-j") {
            error = arg + " needs a value";
            return false;
        }
        if (arg == "-o") {
            o.out = value;
        } else if (arg == "-j") {
            const std::string& n = value;
            o.jobs = n.find_first_not_of("0123456789") == std::string::npos && n.size() < 4
                         ? std::atoi(n.c_str())
                         : 0;
            if (o.jobs < 1 || o.jobs > 256) {
                error = "-j wants a number of jobs from 1 to 256";
                return false;
            }
        } else if (arg == "report" && i == 1) {
            o.report = true;
        } else if (arg.starts_with('-')) {
            error = "unknown option " + arg;
            return false;
        } else {
            o.inputs.push_back(arg);
        }
    }
    return true;
}

// One submission; a failure of the checker's own (a full disk) is that
// student's result, and the batch goes on.
StudentResult check_one(const Batch& batch, const Submission& s, size_t index, int slot) {
    try {
        return check_submission(batch, s, index, slot);
    } catch (const std::exception& e) {
        StudentResult r;
        r.student = s.student;
        r.unpack_error = std::string("the checker failed: ") + e.what();
        return r;
    }
}

// Check every submission with `jobs` workers; worker k runs as slot k + 1.
void check_all(const Batch& batch, const std::vector<Submission>& submissions, int jobs) {
    Progress progress(submissions.size());
    std::atomic<size_t> next{0};
    std::vector<std::jthread> workers;
    for (int k = 0; k < jobs; ++k) {
        workers.emplace_back([&, k] {
            for (size_t i = next++; i < submissions.size(); i = next++) {
                progress.started(submissions[i].student);
                const StudentResult r = check_one(batch, submissions[i], i, k + 1);
                std::string failed;
                for (const TapeResult& t : r.tapes) {
                    if (!t.passed() && failed.find(t.status) == std::string::npos) {
                        failed += (failed.empty() ? "" : "; ") + t.status;
                    }
                }
                progress.finished(r.student, r.score(), r.max_score(), failed);
            }
        });
    }
    workers.clear();
    progress.done();
}

BatchInfo batch_info(const Batch& b) {
    BatchInfo info{b.assignment.title, describe(b.isolation), {}, {}};
    for (const Tape& t : b.assignment.tapes) {
        info.tapes.push_back(t.name);
        info.points.push_back(t.points);
    }
    return info;
}

int write_class_outputs(const std::vector<fs::path>& outs, const fs::path& into) {
    ClassResults results;
    std::string error;
    if (!read_class_results(outs, results, error)) return fail(EXIT_NO_INPUT, error);
    std::error_code ec;
    fs::create_directories(into, ec);
    if (!write_report(into / "report.html", results) || !write_grades(into / "grades.csv", results)) {
        return fail(EXIT_CANNOT_WRITE, "cannot write report.html and grades.csv in " + into.string());
    }
    std::fprintf(stderr, "morlu-check: %zu students; %s\n", results.students.size(),
                 (into / "report.html").c_str());
    return 0;
}

int run_batch(const Options& o) {
    if (o.inputs.size() != 2 || o.out.empty()) return usage_error("give ASSIGNMENT, SUBMISSIONS and -o OUT");
    Batch batch;
    std::string error;
    if (!read_assignment(o.inputs[0], batch.assignment, error)) return fail(EXIT_BAD_ASSIGNMENT, error);
    std::error_code ec;
    if (!fs::is_directory(o.inputs[1], ec))
        return fail(EXIT_NO_INPUT, o.inputs[1] + ": not a folder of submissions");
    if (!find_toolchain(batch.toolchain, error)) return fail(EXIT_NO_MORLU, error);
    batch.out = fs::absolute(o.out, ec);
    fs::create_directories(batch.out, ec);
    // Grades are private; a run under resource limits alone must not read them either.
    if (ec || ::chmod(batch.out.c_str(), 0700) != 0)
        return fail(EXIT_CANNOT_WRITE, o.out + ": cannot be written");
    batch.work = make_work_folder();
    if (batch.work.empty()) return fail(EXIT_CANNOT_WRITE, "cannot make a work folder in TMPDIR (or /tmp)");
    batch.isolation = detect_isolation();
    std::fprintf(stderr, "morlu-check: isolation: %s\n", describe(batch.isolation).c_str());
    const bool ready = prepare_reference(batch, error);
    if (ready) {
        write_batch_info(batch.out, batch_info(batch));
        check_all(batch, find_submissions(o.inputs[1], batch.out), o.jobs);
    }
    fs::remove_all(batch.work, ec);
    if (!ready) return fail(EXIT_BAD_ASSIGNMENT, error);
    return write_class_outputs({batch.out}, batch.out);
}

}  // namespace

int run(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(USAGE, stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--isolation") == 0) {
        std::printf("%s\n", describe(detect_isolation()).c_str());
        return 0;
    }
    // A run's orphans come back to the checker, which reaps them (sandbox.cpp).
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    Options o;
    std::string error;
    if (!parse(argc, argv, o, error)) return usage_error(error);
    if (!o.report) return run_batch(o);
    if (o.inputs.empty()) return usage_error("report needs at least one OUT folder");
    std::vector<fs::path> outs(o.inputs.begin(), o.inputs.end());
    return write_class_outputs(outs, o.out.empty() ? outs.front() : fs::path(o.out));
}

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        return fail(EXIT_SOFTWARE, std::string("stopped: ") + e.what());
    }
}
