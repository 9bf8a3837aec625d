// batch.toml, reading a class back, and the gradebook's CSV.
#include "class_results.h"

#include <toml++/toml.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "text.h"

namespace morlu::check {
namespace {

namespace fs = std::filesystem;

bool read_batch_info(const fs::path& out, BatchInfo& info) {
    toml::table t;
    try {
        t = toml::parse_file((out / "batch.toml").string());
    } catch (const toml::parse_error&) {
        return false;
    }
    info.title = t["title"].value_or(std::string());
    info.isolation = t["isolation"].value_or(std::string());
    if (const toml::array* a = t["tapes"].as_array()) {
        for (const toml::node& n : *a) info.tapes.push_back(n.value_or(std::string()));
    }
    if (const toml::array* a = t["points"].as_array()) {
        for (const toml::node& n : *a) info.points.push_back(n.value_or(0.0));
    }
    return info.tapes.size() == info.points.size();
}

}  // namespace

bool write_batch_info(const fs::path& out, const BatchInfo& info) {
    toml::array tapes, points;
    for (const std::string& t : info.tapes) tapes.push_back(t);
    for (double p : info.points) points.push_back(p);
    std::ofstream file(out / "batch.toml");
    file << toml::table{{"title", info.title},
                        {"isolation", info.isolation},
                        {"tapes", tapes},
                        {"points", points}}
         << "\n";
    return file.good();
}

bool read_class_results(const std::vector<fs::path>& outs, ClassResults& results, std::string& error) {
    for (const fs::path& out : outs) {
        BatchInfo info;
        if (!read_batch_info(out, info)) {
            error = out.string() + ": no batch.toml: not a folder morlu-check wrote";
            return false;
        }
        if (results.info.tapes.empty()) results.info = info;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(out, ec)) {
            ClassEntry entry;
            entry.folder = e.path();
            if (e.is_directory(ec) && !e.is_symlink(ec) && read_student_result(e.path(), entry.result)) {
                results.students.push_back(std::move(entry));
            }
        }
    }
    std::sort(results.students.begin(), results.students.end(),
              [](const ClassEntry& a, const ClassEntry& b) { return a.result.student < b.result.student; });
    return true;
}

bool write_grades(const fs::path& file, const ClassResults& c) {
    std::ofstream out(file);
    out << "student";
    for (const std::string& t : c.info.tapes) out << "," << csv_field(t);
    out << ",total,max\n";
    for (const ClassEntry& e : c.students) {
        out << csv_field(e.result.student);
        for (const TapeResult& t : e.result.tapes) out << "," << format_number(t.points);
        out << "," << format_number(e.result.score()) << "," << format_number(e.result.max_score()) << "\n";
    }
    return out.good();
}

}  // namespace morlu::check
