// report.html: one self-contained page. Every picture and GIF is inline as a
// data: URI, the style is inline, and there is no script, so the page shows
// the same with the network off, in any browser, years later.
#include <fstream>
#include <sstream>

#include "class_results.h"
#include "safe_read.h"
#include "text.h"

namespace morlu::check {
namespace {

namespace fs = std::filesystem;

constexpr size_t MAX_PICTURE_BYTES = 32 << 20;

const char* const STYLE = R"(
body { font: 15px/1.4 system-ui, sans-serif; margin: 2em; color: #222; }
table.class { border-collapse: collapse; margin: 1em 0; }
table.class td, table.class th { border: 1px solid #bbb; padding: 0.3em 0.6em; text-align: left; }
td.passed { background: #dfd; } td.failed { background: #fdd; }
.pictures { display: flex; gap: 1em; flex-wrap: wrap; }
figure { margin: 0; } figcaption { font-size: 13px; color: #555; }
img { border: 1px solid #ccc; image-rendering: pixelated; max-width: 100%; }
.gifs img { width: 360px; image-rendering: auto; }
summary { cursor: pointer; margin: 0.6em 0; }
pre { background: #f4f4f4; padding: 0.6em; overflow-x: auto; white-space: pre-wrap; }
.student { border-top: 2px solid #888; margin-top: 2em; }
)";

std::string base64(const std::string& bytes) {
    static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = std::min<size_t>(3, bytes.size() - i);
        uint32_t v = 0;
        for (size_t k = 0; k < 3; ++k) v = (v << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0);
        for (size_t k = 0; k < 4; ++k) out += k <= n ? digits[(v >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}

// An <img> holding the file inline, or a line saying it is missing.
std::string inline_picture(const fs::path& file, const std::string& caption) {
    const auto bytes = read_plain_file(file, MAX_PICTURE_BYTES);
    std::string body;
    if (!bytes || bytes->size() < 4) {
        body = "<p>(no picture)</p>";
    } else {
        const char* type = bytes->compare(0, 3, "GIF") == 0 ? "image/gif" : "image/png";
        body = std::string("<img alt=\"") + html_escape(caption) + "\" src=\"data:" + type + ";base64," +
               base64(*bytes) + "\">";
    }
    return "<figure>" + body + "<figcaption>" + html_escape(caption) + "</figcaption></figure>";
}

std::string anchor(size_t index) {
    return "student" + std::to_string(index);
}

// The class's average points per tape and in total, and how many passed each tape.
void average_row(std::ostream& out, const ClassResults& c) {
    if (c.students.empty()) return;
    const double n = static_cast<double>(c.students.size());
    out << "<tr><th>Average of " << c.students.size() << "</th>";
    double total = 0;
    for (size_t i = 0; i < c.info.tapes.size(); ++i) {
        double points = 0;
        int passed = 0;
        for (const ClassEntry& e : c.students) {
            if (i >= e.result.tapes.size()) continue;
            points += e.result.tapes[i].points;
            passed += e.result.tapes[i].passed() ? 1 : 0;
        }
        total += points;
        out << "<th>" << format_number(points / n) << " &middot; " << passed << " passed</th>";
    }
    out << "<th>" << format_number(total / n) << "</th></tr>\n";
}

void class_table(std::ostream& out, const ClassResults& c) {
    out << "<table class=\"class\"><tr><th>Student</th>";
    for (size_t i = 0; i < c.info.tapes.size(); ++i) {
        out << "<th>" << html_escape(c.info.tapes[i]) << " (" << format_number(c.info.points[i]) << ")</th>";
    }
    out << "<th>Total</th></tr>\n";
    for (size_t s = 0; s < c.students.size(); ++s) {
        const StudentResult& r = c.students[s].result;
        out << "<tr><td><a href=\"#" << anchor(s) << "\">" << html_escape(r.student) << "</a></td>";
        for (const TapeResult& t : r.tapes) {
            out << "<td class=\"" << (t.passed() ? "passed" : "failed") << "\">" << format_number(t.points)
                << " &middot; " << html_escape(t.status) << "</td>";
        }
        out << "<td>" << format_number(r.score()) << " / " << format_number(r.max_score()) << "</td></tr>\n";
    }
    average_row(out, c);
    out << "</table>\n";
}

void pre_block(std::ostream& out, const std::string& heading, const std::string& text) {
    if (text.empty()) return;
    out << "<p>" << heading << "</p><pre>" << html_escape(text) << "</pre>\n";
}

void lines_block(std::ostream& out, const std::string& heading, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    pre_block(out, heading, text);
}

// The reference's and the submission's GIFs side by side. A run that crashed
// or was ended has no GIF; the reference's is still shown.
void gif_pair(std::ostream& out, const ClassEntry& e, size_t i, const TapeResult& t) {
    const fs::path reference_gif =
        e.folder.parent_path() / "reference" / ("tape" + std::to_string(i) + ".gif");
    std::error_code ec;
    if (!fs::is_regular_file(reference_gif, ec)) return;
    out << "<div class=\"pictures gifs\">" << inline_picture(reference_gif, "the reference")
        << (t.gif.empty() ? "<figure><p>(no GIF: the run did not end by itself)</p></figure>"
                          : inline_picture(e.folder / t.gif, "the submission"))
        << "</div>\n";
}

// Each failing snapshot as reference | submission | difference.
void failing_snapshots(std::ostream& out, const ClassEntry& e, const TapeResult& t) {
    for (const SnapshotResult& s : t.snapshots) {
        if (s.passed || s.missing) continue;
        out << "<p>" << html_escape(s.name) << ": " << s.differing
            << " pixels differ</p><div class=\"pictures\">"
            << inline_picture(e.folder / s.reference_file, "reference") +
                   inline_picture(e.folder / s.submission_file, "submission") +
                   inline_picture(e.folder / s.difference_file, "difference (red: differing pixels, ringed)")
            << "</div>\n";
    }
}

// One tape, folded away when it passed.
void tape_section(std::ostream& out, const ClassEntry& e, size_t i, const TapeResult& t) {
    out << "<details" << (t.passed() ? "" : " open") << "><summary><b>" << html_escape(t.tape)
        << "</b>: " << format_number(t.points) << " of " << format_number(t.max_points) << " &middot; "
        << html_escape(t.status) << "</summary>\n";
    lines_block(out, "Problems:", t.problems.size() > 1 ? t.problems : std::vector<std::string>{});
    gif_pair(out, e, i, t);
    failing_snapshots(out, e, t);
    lines_block(out, "Failed expectations:", t.expectations);
    lines_block(out, "Log differences:", t.log_differences);
    if (!t.passed()) pre_block(out, "The end of its standard error:", t.stderr_end);
    out << "</details>\n";
}

// `isolation` is the report's: a result merged from a machine that isolated
// its runs otherwise says so.
void student_section(std::ostream& out, const ClassEntry& e, size_t index, const std::string& isolation) {
    const StudentResult& r = e.result;
    out << "<section class=\"student\" id=\"" << anchor(index) << "\"><h3>" << html_escape(r.student) << ": "
        << format_number(r.score()) << " / " << format_number(r.max_score()) << "</h3>\n";
    if (r.isolation != isolation) out << "<p>Isolation: " << html_escape(r.isolation) << "</p>\n";
    pre_block(out, "Not unpacked:", r.unpack_error);
    if (!r.built && r.unpack_error.empty())
        pre_block(out, "It did not compile. The compiler's messages:", r.compiler_messages);
    for (size_t i = 0; r.built && i < r.tapes.size(); ++i) tape_section(out, e, i, r.tapes[i]);
    out << "</section>\n";
}

}  // namespace

bool write_report(const fs::path& file, const ClassResults& c) {
    std::ofstream out(file);
    out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>"
        << html_escape(c.info.title) << "</title><style>" << STYLE << "</style></head><body>\n";
    out << "<h1>" << html_escape(c.info.title) << "</h1>\n<p>Isolation: " << html_escape(c.info.isolation)
        << "</p>\n";
    class_table(out, c);
    for (size_t s = 0; s < c.students.size(); ++s) student_section(out, c.students[s], s, c.info.isolation);
    out << "</body></html>\n";
    return out.good();
}

}  // namespace morlu::check
