// The batch's progress on the terminal: done/total, the time since the start,
// and the students being checked. On a terminal one line is rewritten; in a
// log, one line per finished student.
#pragma once

#include <chrono>
#include <mutex>
#include <set>
#include <string>

namespace morlu::check {

class Progress {
public:
    explicit Progress(size_t total);
    void started(const std::string& student);
    void finished(const std::string& student, double score, double max_score, const std::string& status);
    void done();

private:
    void show(const std::string& finished_line);
    std::mutex mutex_;
    size_t total_ = 0;
    size_t done_ = 0;
    std::set<std::string> current_;
    bool terminal_ = false;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace morlu::check
