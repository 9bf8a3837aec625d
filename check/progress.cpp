// Progress lines on standard error.
#include "progress.h"

#include <unistd.h>

#include <cstdio>

namespace morlu::check {

Progress::Progress(size_t total) : total_(total), terminal_(::isatty(2) != 0) {
}

void Progress::started(const std::string& student) {
    std::lock_guard lock(mutex_);
    current_.insert(student);
    if (terminal_) show("");
}

void Progress::finished(const std::string& student,
                        double score,
                        double max_score,
                        const std::string& status) {
    std::lock_guard lock(mutex_);
    current_.erase(student);
    ++done_;
    char line[512];
    std::snprintf(line, sizeof line, "%s: %g / %g%s%s", student.c_str(), score, max_score,
                  status.empty() ? "" : ", ", status.c_str());
    show(line);
}

void Progress::done() {
    std::lock_guard lock(mutex_);
    if (terminal_) std::fputs("\n", stderr);
}

void Progress::show(const std::string& finished_line) {
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    std::string now;
    for (const std::string& s : current_) now += (now.empty() ? "" : ", ") + s;
    if (terminal_) {
        if (!finished_line.empty()) std::fprintf(stderr, "\r\033[K  %s\n", finished_line.c_str());
        std::fprintf(stderr, "\r\033[K[%zu/%zu] %.1f s  %s", done_, total_, seconds, now.c_str());
    } else if (!finished_line.empty()) {
        std::fprintf(stderr, "[%zu/%zu] %.1f s  %s\n", done_, total_, seconds, finished_line.c_str());
    }
    std::fflush(stderr);
}

}  // namespace morlu::check
