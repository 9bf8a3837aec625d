// Finding submissions, and taking their sources from a folder or a zip
// (libarchive), entry by entry, with every name and size checked.
#include "submissions.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>

#include "safe_read.h"
#include "text.h"

namespace morlu::check {
namespace {

namespace fs = std::filesystem;

bool ends_with_zip(const std::string& name) {
    if (name.size() < 5) return false;
    std::string end = name.substr(name.size() - 4);
    std::transform(end.begin(), end.end(), end.begin(), [](unsigned char c) { return std::tolower(c); });
    return end == ".zip";
}

// A relative path with no "..", no empty or "." parts, no backslash tricks.
bool is_safe_relative(const std::string& name) {
    if (name.empty() || name.front() == '/' || name.find('\\') != std::string::npos) return false;
    for (const auto& part : fs::path(name)) {
        const std::string p = part.string();
        if (p == ".." || p == ".") return false;
    }
    return true;
}

bool matches(const std::string& relative, const std::vector<std::string>& globs) {
    for (const std::string& g : globs) {
        if (::fnmatch(g.c_str(), relative.c_str(), FNM_PATHNAME) == 0) return true;
    }
    return false;
}

// Files gathered in memory first, so limits hold before anything is written.
using Files = std::map<std::string, std::string>;

bool add_file(Files& files,
              long long& total,
              const std::string& name,
              std::string bytes,
              std::string& error) {
    total += static_cast<long long>(bytes.size());
    if (files.size() >= MAX_FILES) return fail(error, "more than " + std::to_string(MAX_FILES) + " files");
    if (total > MAX_TOTAL_BYTES)
        return fail(error, "more than " + std::to_string(MAX_TOTAL_BYTES >> 20) + " MB");
    files[name] = std::move(bytes);
    return true;
}

bool read_folder(const fs::path& folder, Files& files, std::string& error) {
    long long total = 0;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it.depth() > 8) return fail(error, "folders nested too deep");
        if (!it->is_regular_file(ec) || it->is_symlink(ec)) continue;
        const std::string name = fs::relative(it->path(), folder, ec).string();
        const auto bytes = read_plain_file(it->path(), MAX_FILE_BYTES);
        if (!bytes)
            return fail(error, name + ": larger than " + std::to_string(MAX_FILE_BYTES >> 10) + " KB");
        if (!add_file(files, total, name, *bytes, error)) return false;
    }
    if (ec) return fail(error, "cannot read the folder: " + ec.message());
    return true;
}

// One entry's data, counted as it comes: the header's size is not trusted.
bool read_entry(archive* a, const std::string& name, std::string& bytes, std::string& error) {
    char buffer[8192];
    for (;;) {
        const la_ssize_t n = archive_read_data(a, buffer, sizeof buffer);
        if (n == 0) return true;
        if (n < 0) return fail(error, name + ": " + archive_error_string(a));
        bytes.append(buffer, static_cast<size_t>(n));
        if (static_cast<long long>(bytes.size()) > MAX_FILE_BYTES) {
            return fail(error, name + ": larger than " + std::to_string(MAX_FILE_BYTES >> 10) + " KB");
        }
    }
}

bool read_zip_entries(archive* a, Files& files, std::string& error) {
    long long total = 0;
    archive_entry* entry = nullptr;
    int r = ARCHIVE_OK;
    while ((r = archive_read_next_header(a, &entry)) == ARCHIVE_OK) {
        const char* raw = archive_entry_pathname(entry);
        const std::string name = raw ? raw : "";
        if (archive_entry_filetype(entry) == AE_IFDIR) continue;
        if (archive_entry_filetype(entry) != AE_IFREG) continue;  // links and devices are left out
        if (!is_safe_relative(name))
            return fail(error, "\"" + name + "\" would be written outside its folder");
        std::string bytes;
        if (!read_entry(a, name, bytes, error) || !add_file(files, total, name, std::move(bytes), error)) {
            return false;
        }
    }
    if (r != ARCHIVE_EOF) return fail(error, std::string("not a readable zip: ") + archive_error_string(a));
    return true;
}

bool read_zip(const fs::path& zip, Files& files, std::string& error) {
    archive* a = archive_read_new();
    archive_read_support_format_zip(a);
    bool ok = false;
    if (archive_read_open_filename(a, zip.c_str(), 16384) != ARCHIVE_OK) {
        error = std::string("not a readable zip: ") + archive_error_string(a);
    } else {
        ok = read_zip_entries(a, files, error);
    }
    archive_read_free(a);
    return ok;
}

// "alice/main.c", "alice/shapes.c" -> "main.c", "shapes.c".
void drop_common_top_folder(Files& files) {
    std::string top;
    for (const auto& [name, bytes] : files) {
        const size_t slash = name.find('/');
        if (slash == std::string::npos) return;
        const std::string first = name.substr(0, slash + 1);
        if (top.empty()) top = first;
        if (first != top) return;
    }
    Files out;
    for (auto& [name, bytes] : files) out[name.substr(top.size())] = std::move(bytes);
    files = std::move(out);
}

bool write_sources(const Files& files,
                   const std::vector<std::string>& globs,
                   const fs::path& into,
                   std::string& error) {
    int written = 0;
    for (const auto& [name, bytes] : files) {
        if (!matches(name, globs)) continue;
        const fs::path target = into / name;
        std::error_code ec;
        fs::create_directories(target.parent_path(), ec);
        std::ofstream out(target, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) return fail(error, name + ": cannot be written to the checker's folder");
        ++written;
    }
    if (written == 0) return fail(error, "no source file matches the assignment's globs");
    return true;
}

}  // namespace

std::vector<Submission> find_submissions(const fs::path& folder, const fs::path& results) {
    std::vector<Submission> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        const std::string name = e.path().filename().string();
        if (name.starts_with('.') || e.is_symlink(ec) || fs::equivalent(e.path(), results, ec)) continue;
        if (e.is_directory(ec))
            out.push_back({name, e.path(), false});
        else if (e.is_regular_file(ec) && ends_with_zip(name))
            out.push_back({name.substr(0, name.size() - 4), e.path(), true});
    }
    std::sort(out.begin(), out.end(),
              [](const Submission& a, const Submission& b) { return a.student < b.student; });
    std::set<std::string> taken;
    for (Submission& s : out) {
        const std::string name = s.student;
        for (int n = 2; taken.contains(s.student); ++n) s.student = name + " (" + std::to_string(n) + ")";
        taken.insert(s.student);
    }
    return out;
}

bool unpack_sources(const Submission& s,
                    const std::vector<std::string>& globs,
                    const fs::path& into,
                    std::string& error) {
    Files files;
    if (!(s.zipped ? read_zip(s.source, files, error) : read_folder(s.source, files, error))) return false;
    if (s.zipped) drop_common_top_folder(files);
    return write_sources(files, globs, into, error);
}

}  // namespace morlu::check
