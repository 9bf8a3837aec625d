// One sandboxed shell script per submission compiles and links it, so the
// compile time limit covers every file together.
#include "build.h"

#include <fnmatch.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

namespace morlu::check {
namespace {

namespace fs = std::filesystem;

constexpr int COMPILER_MEMORY_MB = 2048;
constexpr int COMPILER_PROCESSES = 64;

std::vector<std::string> split_words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> words;
    std::string w;
    while (in >> w) words.push_back(w);
    return words;
}

// The output of a trusted command (pkg-config), or nothing when it fails.
bool read_command(const std::string& command, std::string& out) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) return false;
    std::array<char, 4096> buffer{};
    size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0) out.append(buffer.data(), n);
    return ::pclose(pipe.release()) == 0;
}

// 'text' for the shell, with any ' inside made safe.
std::string quote(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

bool is_cpp(const fs::path& p) {
    const std::string e = p.extension().string();
    return e == ".cpp" || e == ".cc" || e == ".cxx" || e == ".C";
}

std::vector<std::string> sources_in(const fs::path& folder, const std::vector<std::string>& globs) {
    std::vector<std::string> out;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const std::string name = fs::relative(it->path(), folder, ec).string();
        for (const std::string& g : globs) {
            const std::string e = fs::path(name).extension().string();
            if (::fnmatch(g.c_str(), name.c_str(), FNM_PATHNAME) == 0 && (e == ".c" || is_cpp(name))) {
                out.push_back(name);
                break;
            }
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::string join_quoted(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& w : words) {
        out += ' ';
        out += quote(w);
    }
    return out;
}

// The script: each file compiled to an object, all linked; stops at the first
// failure, so the messages a student sees are about the first broken file.
std::string build_script(const std::vector<std::string>& sources, const Toolchain& t) {
    std::string script = "set -e\n";
    std::string objects;
    for (size_t i = 0; i < sources.size(); ++i) {
        const bool cpp = is_cpp(sources[i]);
        const std::string object = ".object" + std::to_string(i) + ".o";
        script += std::string(cpp ? "c++ -std=c++20" : "cc -std=c11") + " -O1 -g -Wall" +
                  join_quoted(t.cflags) + " -c " + quote("./" + sources[i]) + " -o " + object + "\n";
        objects += " " + object;
    }
    script += "c++" + objects + join_quoted(t.libs) + " -o .program\n";
    return script;
}

}  // namespace

bool find_toolchain(Toolchain& out, std::string& error) {
    std::string cflags, libs, libdir, includedir;
    if (!read_command("pkg-config --cflags morlu 2>/dev/null", cflags) ||
        !read_command("pkg-config --libs morlu 2>/dev/null", libs) ||
        !read_command("pkg-config --variable=libdir morlu 2>/dev/null", libdir) ||
        !read_command("pkg-config --variable=includedir morlu 2>/dev/null", includedir)) {
        error =
            "pkg-config does not find morlu: install it, or add its lib/pkgconfig folder to PKG_CONFIG_PATH";
        return false;
    }
    out.cflags = split_words(cflags);
    out.libs = split_words(libs);
    for (const std::string& dir : {libdir, includedir}) {
        const auto words = split_words(dir);
        std::error_code ec;
        if (!words.empty()) out.visible.push_back(fs::weakly_canonical(words.front(), ec));
    }
    return true;
}

BuildResult build_submission(const Assignment& a,
                             const Toolchain& t,
                             const fs::path& folder,
                             Isolation isolation,
                             int slot) {
    BuildResult r;
    const std::vector<std::string> sources = sources_in(folder, a.sources);
    if (sources.empty()) {
        r.messages = "no source file matches the assignment's globs";
        return r;
    }
    std::ofstream(folder / ".build.sh") << build_script(sources, t);
    RunRequest request;
    request.folder = folder;
    request.argv = {"/bin/sh", (folder / ".build.sh").string()};
    request.visible = t.visible;
    request.slot = slot;
    request.limits = {.wall_seconds = a.limits.compile_seconds,
                      .cpu_seconds = a.limits.compile_seconds,
                      .memory_mb = COMPILER_MEMORY_MB,
                      .output_bytes = 1 << 20,
                      .disk_bytes = 256LL << 20,
                      .processes = COMPILER_PROCESSES};
    const RunOutcome o = run_sandboxed(request, isolation);
    std::error_code ec;
    r.messages = o.err.text() + o.out.text();
    if (o.timed_out)
        r.messages += "\nThe compiler took longer than " + std::to_string(a.limits.compile_seconds) + " s.";
    r.program = folder / ".program";
    r.built = o.exit_status == 0 && !o.timed_out && fs::is_regular_file(r.program, ec);
    return r;
}

}  // namespace morlu::check
