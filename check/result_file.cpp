// result.toml (ours, read back by `morlu-check report`) and results.json
// (Gradescope's autograder format), both written with toml++.
#include "result.h"

#include <toml++/toml.h>

#include <fstream>

namespace morlu::check {
namespace {

namespace fs = std::filesystem;

toml::array to_array(const std::vector<std::string>& lines) {
    toml::array a;
    for (const std::string& l : lines) a.push_back(l);
    return a;
}

std::vector<std::string> from_array(const toml::node_view<const toml::node> node) {
    std::vector<std::string> out;
    if (const toml::array* a = node.as_array()) {
        for (const toml::node& n : *a) out.push_back(n.value_or(std::string()));
    }
    return out;
}

toml::table snapshot_table(const SnapshotResult& s) {
    return toml::table{{"name", s.name},
                       {"missing", s.missing},
                       {"same_size", s.same_size},
                       {"differing", s.differing},
                       {"passed", s.passed},
                       {"reference_file", s.reference_file},
                       {"submission_file", s.submission_file},
                       {"difference_file", s.difference_file}};
}

toml::table tape_table(const TapeResult& t) {
    toml::array snapshots;
    for (const SnapshotResult& s : t.snapshots) snapshots.push_back(snapshot_table(s));
    return toml::table{{"tape", t.tape},
                       {"points", t.points},
                       {"max_points", t.max_points},
                       {"status", t.status},
                       {"problems", to_array(t.problems)},
                       {"snapshots", snapshots},
                       {"log_differences", to_array(t.log_differences)},
                       {"expectations", to_array(t.expectations)},
                       {"stderr_end", t.stderr_end},
                       {"gif", t.gif},
                       {"seconds", t.seconds}};
}

// What Gradescope shows for one tape: the status, then the details.
std::string gradescope_output(const StudentResult& r, const TapeResult& t) {
    std::string out = t.status;
    for (size_t i = 1; i < t.problems.size(); ++i) out += "\n" + t.problems[i];
    for (const std::string& e : t.expectations) out += "\n" + e;
    for (const std::string& l : t.log_differences) out += "\n" + l;
    if (!r.built)
        out += "\n\n" + (r.unpack_error.empty() ? r.compiler_messages : r.unpack_error);
    else if (!t.passed() && !t.stderr_end.empty())
        out += "\n\nThe end of its standard error:\n" + t.stderr_end;
    return out;
}

toml::table gradescope_table(const StudentResult& r) {
    toml::array tests;
    for (const TapeResult& t : r.tapes) {
        tests.push_back(toml::table{{"name", t.tape},
                                    {"score", t.points},
                                    {"max_score", t.max_points},
                                    {"status", t.passed() ? "passed" : "failed"},
                                    {"output", gradescope_output(r, t)}});
    }
    return toml::table{{"score", r.score()}, {"tests", tests}};
}

SnapshotResult read_snapshot(const toml::table& t) {
    SnapshotResult s;
    s.name = t["name"].value_or(std::string());
    s.missing = t["missing"].value_or(false);
    s.same_size = t["same_size"].value_or(true);
    s.differing = t["differing"].value_or(int64_t{0});
    s.passed = t["passed"].value_or(false);
    s.reference_file = t["reference_file"].value_or(std::string());
    s.submission_file = t["submission_file"].value_or(std::string());
    s.difference_file = t["difference_file"].value_or(std::string());
    return s;
}

TapeResult read_tape(const toml::table& t) {
    TapeResult r;
    r.tape = t["tape"].value_or(std::string());
    r.points = t["points"].value_or(0.0);
    r.max_points = t["max_points"].value_or(0.0);
    r.status = t["status"].value_or(std::string());
    r.problems = from_array(t["problems"]);
    if (const toml::array* a = t["snapshots"].as_array()) {
        for (const toml::node& n : *a) {
            if (const toml::table* s = n.as_table()) r.snapshots.push_back(read_snapshot(*s));
        }
    }
    r.log_differences = from_array(t["log_differences"]);
    r.expectations = from_array(t["expectations"]);
    r.stderr_end = t["stderr_end"].value_or(std::string());
    r.gif = t["gif"].value_or(std::string());
    r.seconds = t["seconds"].value_or(0.0);
    return r;
}

}  // namespace

double StudentResult::score() const {
    double total = 0;
    for (const TapeResult& t : tapes) total += t.points;
    return total;
}

double StudentResult::max_score() const {
    double total = 0;
    for (const TapeResult& t : tapes) total += t.max_points;
    return total;
}

bool write_student_result(const fs::path& folder, const StudentResult& r) {
    toml::array tapes;
    for (const TapeResult& t : r.tapes) tapes.push_back(tape_table(t));
    const toml::table table{{"student", r.student},           {"built", r.built},
                            {"unpack_error", r.unpack_error}, {"compiler_messages", r.compiler_messages},
                            {"isolation", r.isolation},       {"tape", tapes}};
    std::ofstream toml_file(folder / "result.toml");
    toml_file << table << "\n";
    std::ofstream json_file(folder / "results.json");
    json_file << toml::json_formatter{gradescope_table(r)} << "\n";
    return toml_file.good() && json_file.good();
}

bool read_student_result(const fs::path& folder, StudentResult& r) {
    toml::table t;
    try {
        t = toml::parse_file((folder / "result.toml").string());
    } catch (const toml::parse_error&) {
        return false;
    }
    if (!t["student"].is_string()) return false;
    r.student = t["student"].value_or(std::string());
    r.built = t["built"].value_or(false);
    r.unpack_error = t["unpack_error"].value_or(std::string());
    r.compiler_messages = t["compiler_messages"].value_or(std::string());
    r.isolation = t["isolation"].value_or(std::string());
    if (const toml::array* a = t["tape"].as_array()) {
        for (const toml::node& n : *a) {
            if (const toml::table* tape = n.as_table()) r.tapes.push_back(read_tape(*tape));
        }
    }
    return true;
}

}  // namespace morlu::check
