// Reading assignment.toml with toml++, and the outputs each tape writes.
#include "assignment.h"

#include <toml++/toml.h>

#include <fstream>
#include <sstream>

#include "text.h"

namespace morlu::check {
namespace {

namespace fs = std::filesystem;

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// The tape's own comment rule: "#" at the start of a line or after a blank.
std::string strip_comment(const std::string& line) {
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || is_blank(line[i - 1]))) return line.substr(0, i);
    }
    return line;
}

std::string trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && is_blank(s[b])) ++b;
    while (e > b && is_blank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// Output files are read back from a folder the submission controls, so their
// names must stay inside it: one plain name, no folders, no "..".
bool is_plain_name(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name != PROGRAM_NAME &&
           !name.starts_with(".run") && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

bool read_tape_outputs(const fs::path& file, TapeOutputs& out, std::string& error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return fail(error, file.string() + ": cannot read the tape");
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (trim(line).starts_with("type")) continue;  // "#" belongs to the text typed
        std::istringstream words(trim(strip_comment(line)));
        std::string verb;
        words >> verb;
        std::string rest;
        std::getline(words, rest);
        rest = trim(rest);
        if (verb == "expect") ++out.expectations;
        if (verb != "snapshot" && verb != "log") continue;
        if (!is_plain_name(rest)) {
            return fail(error, file.string() + ":" + std::to_string(number) + ": \"" + rest +
                                   "\" must be a plain file name other than \"program\", so the checker "
                                   "reads it from the run's folder");
        }
        (verb == "snapshot" ? out.snapshots : out.logs).push_back(rest);
    }
    return true;
}

// An integer key in `lo`..`hi`, or its default when absent.
bool read_int(const toml::table& t,
              const char* section,
              const char* key,
              int lo,
              int hi,
              int& value,
              std::string& error) {
    const toml::node* node = t[section][key].node();
    if (!node) return true;
    const auto v = node->value<int64_t>();
    if (!v || *v < lo || *v > hi) {
        return fail(error, std::string("assignment.toml: [") + section + "] " + key +
                               " must be a whole number from " + std::to_string(lo) + " to " +
                               std::to_string(hi));
    }
    value = static_cast<int>(*v);
    return true;
}

bool read_limits(const toml::table& t, Limits& l, std::string& error) {
    return read_int(t, "limits", "seconds", 1, 3600, l.seconds, error) &&
           read_int(t, "limits", "cpu_seconds", 0, 3600, l.cpu_seconds, error) &&
           read_int(t, "limits", "memory_mb", 16, 65536, l.memory_mb, error) &&
           read_int(t, "limits", "compile_seconds", 1, 3600, l.compile_seconds, error) &&
           read_int(t, "limits", "output_kb", 1, 1 << 20, l.output_kb, error) &&
           read_int(t, "limits", "disk_mb", 1, 1 << 16, l.disk_mb, error) &&
           read_int(t, "limits", "processes", 1, 4096, l.processes, error);
}

bool read_sources(const toml::table& t, std::vector<std::string>& sources, std::string& error) {
    const toml::node* node = t["build"]["sources"].node();
    if (!node) return true;
    const toml::array* globs = node->as_array();
    if (!globs || globs->empty())
        return fail(error, "assignment.toml: [build] sources must be a list of globs");
    sources.clear();
    for (const toml::node& g : *globs) {
        const auto s = g.value<std::string>();
        if (!s || s->empty() || s->starts_with('/') || s->find("..") != std::string::npos) {
            return fail(error,
                        "assignment.toml: [build] sources holds globs relative to a submission's folder");
        }
        sources.push_back(*s);
    }
    return true;
}

bool read_tape(const fs::path& folder, const toml::table& entry, Tape& tape, std::string& error) {
    const auto file = entry["file"].value<std::string>();
    if (!file) return fail(error, "assignment.toml: each [[tape]] needs file = \"...\"");
    std::error_code ec;
    tape.file = fs::weakly_canonical(folder / *file, ec);
    if (ec) tape.file = (folder / *file).lexically_normal();
    tape.name = tape.file.filename().string();
    if (const toml::node* p = entry["points"].node()) {
        const auto points = p->value<double>();
        if (!points || *points < 0 || *points > 1e6) {
            return fail(error, "assignment.toml: " + *file + ": points must be a number from 0 up");
        }
        tape.points = *points;
    }
    return read_tape_outputs(tape.file, tape.outputs, error);
}

bool read_tapes(const fs::path& folder, const toml::table& t, std::vector<Tape>& tapes, std::string& error) {
    const toml::array* list = t["tape"].as_array();
    if (!list || list->empty()) return fail(error, "assignment.toml: no [[tape]]: name at least one tape");
    for (const toml::node& n : *list) {
        const toml::table* entry = n.as_table();
        if (!entry) return fail(error, "assignment.toml: [[tape]] entries are tables");
        Tape tape;
        if (!read_tape(folder, *entry, tape, error)) return false;
        for (const Tape& other : tapes) {
            if (other.name == tape.name)
                return fail(error, "assignment.toml: two tapes are named " + tape.name);
        }
        tapes.push_back(std::move(tape));
    }
    return true;
}

}  // namespace

double Assignment::total_points() const {
    double total = 0;
    for (const Tape& t : tapes) total += t.points;
    return total;
}

bool read_assignment(const fs::path& folder, Assignment& out, std::string& error) {
    std::error_code ec;
    out.folder = fs::absolute(folder, ec).lexically_normal();
    const fs::path file = out.folder / "assignment.toml";
    if (!fs::is_regular_file(file, ec)) {
        return fail(error,
                    "no " + file.string() + ": give the assignment's folder, which holds assignment.toml");
    }
    toml::table t;
    try {
        t = toml::parse_file(file.string());
    } catch (const toml::parse_error& e) {
        std::ostringstream where;
        where << file.string() << ":" << e.source().begin.line << ": " << e.description();
        return fail(error, where.str());
    }
    out.title = t["title"].value_or(out.folder.filename().string());
    if (!fs::is_directory(out.folder / "reference", ec)) {
        return fail(error, out.folder.string() + ": no reference/ folder with the teacher's solution");
    }
    if (!read_sources(t, out.sources, error) || !read_limits(t, out.limits, error)) return false;
    if (!read_int(t, "compare", "channel_tolerance", 0, 255, out.compare.channel_tolerance, error) ||
        !read_int(t, "compare", "max_differing_pixels", 0, 1 << 30, out.compare.max_differing_pixels,
                  error)) {
        return false;
    }
    if (out.limits.cpu_seconds == 0) out.limits.cpu_seconds = out.limits.seconds;
    return read_tapes(out.folder, t, out.tapes, error);
}

}  // namespace morlu::check
