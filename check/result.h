// What the checker found for one student: per tape, the points, one status in
// words and every detail the report shows. Written as OUT/STUDENT/result.toml,
// so that `morlu-check report` can merge results made on other machines.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace morlu::check {

struct SnapshotResult {
    std::string name;
    bool missing = false;
    bool same_size = true;
    long long differing = 0;
    bool passed = false;
    // Files in the student's folder of OUT (reference and submission copies,
    // and the difference picture), written only for a failing snapshot.
    std::string reference_file, submission_file, difference_file;
};

struct TapeResult {
    std::string tape;
    double points = 0;
    double max_points = 0;
    std::string status = "passed";      // the first problem, in words
    std::vector<std::string> problems;  // every problem, in words
    std::vector<SnapshotResult> snapshots;
    std::vector<std::string> log_differences;
    std::vector<std::string> expectations;  // what the run said of its failed expect lines
    std::string stderr_end;
    std::string gif;  // file in the student's folder of OUT, or empty
    double seconds = 0;
    bool passed() const {
        return problems.empty();
    }
};

struct StudentResult {
    std::string student;
    bool built = false;
    std::string unpack_error;
    std::string compiler_messages;
    std::vector<TapeResult> tapes;
    std::string isolation;
    double score() const;
    double max_score() const;
};

// Write OUT/STUDENT/result.toml and OUT/STUDENT/results.json (Gradescope's).
bool write_student_result(const std::filesystem::path& folder, const StudentResult& r);
// Read a result.toml back; false when it is missing or not one of ours.
bool read_student_result(const std::filesystem::path& folder, StudentResult& r);

}  // namespace morlu::check
