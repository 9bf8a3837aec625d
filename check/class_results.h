// A class's results as the report and the gradebook need them: the batch's
// description (OUT/batch.toml) and every student's result, each with the OUT
// folder it came from, so that results made on other machines can be merged.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "result.h"

namespace morlu::check {

struct BatchInfo {
    std::string title;
    std::string isolation;
    std::vector<std::string> tapes;
    std::vector<double> points;
};

struct ClassEntry {
    StudentResult result;
    std::filesystem::path folder;  // OUT/STUDENT
};

struct ClassResults {
    BatchInfo info;
    std::vector<ClassEntry> students;  // sorted by name
};

bool write_batch_info(const std::filesystem::path& out, const BatchInfo& info);
// Read OUT/batch.toml and every OUT/*/result.toml of each folder given; false
// with `error` set when a folder is not a morlu-check output.
bool read_class_results(const std::vector<std::filesystem::path>& outs,
                        ClassResults& results,
                        std::string& error);

// OUT/report.html and OUT/grades.csv.
bool write_report(const std::filesystem::path& file, const ClassResults& results);
bool write_grades(const std::filesystem::path& file, const ClassResults& results);

}  // namespace morlu::check
