// The bubblewrap command line, and the trial that says whether it works here.
#include "sandbox_paths.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace morlu::check {
namespace {

namespace fs = std::filesystem;

const char* const BWRAP = "/usr/bin/bwrap";

// Top-level system folders; on a merged /usr some are links into it.
const char* const SYSTEM_FOLDERS[] = {"/usr", "/bin", "/sbin", "/lib", "/lib32", "/lib64", "/libx32"};
// What compilers, the dynamic linker and fontconfig read from /etc.
const char* const SYSTEM_FILES[] = {"/etc/alternatives", "/etc/ld.so.cache", "/etc/ld.so.conf",
                                    "/etc/ld.so.conf.d", "/etc/fonts",       "/var/cache/fontconfig",
                                    "/etc/localtime"};

void add(std::vector<std::string>& a, std::initializer_list<std::string> words) {
    a.insert(a.end(), words);
}

void add_system(std::vector<std::string>& a) {
    for (const char* folder : SYSTEM_FOLDERS) {
        std::error_code ec;
        if (fs::is_symlink(folder, ec)) {
            add(a, {"--symlink", fs::read_symlink(folder, ec).string(), folder});
        } else if (fs::is_directory(folder, ec)) {
            add(a, {"--ro-bind", folder, folder});
        }
    }
    for (const char* file : SYSTEM_FILES) add(a, {"--ro-bind-try", file, file});
}

}  // namespace

std::vector<std::string> bubblewrap_argv(const RunRequest& r, uid_t uid) {
    const std::string id = std::to_string(uid);
    std::vector<std::string> a = {
        BWRAP, "--unshare-all",     "--unshare-user", "--uid",      id,       "--gid",
        id,    "--die-with-parent", "--new-session",  "--hostname", "sandbox"};
    add_system(a);
    add(a, {"--proc", "/proc", "--dev", "/dev"});
    add(a, {"--size", std::to_string(r.limits.disk_bytes), "--tmpfs", "/tmp"});
    for (const fs::path& p : r.visible) add(a, {"--ro-bind", p.string(), p.string()});
    add(a, {"--bind", r.folder.string(), r.folder.string(), "--chdir", r.folder.string(), "--"});
    a.insert(a.end(), r.argv.begin(), r.argv.end());
    return a;
}

Isolation detect_isolation() {
    // MORLU_CHECK_ISOLATION=rlimits asks for the limits alone, as where bubblewrap cannot run.
    const char* asked = std::getenv("MORLU_CHECK_ISOLATION");
    if (asked && std::string(asked) == "rlimits") return Isolation::rlimits;
    if (::access(BWRAP, X_OK) != 0) return Isolation::rlimits;
    RunRequest trial;
    std::error_code ec;
    trial.folder = fs::temp_directory_path(ec);
    if (ec) trial.folder = "/tmp";
    trial.argv = {"/bin/true"};
    trial.limits.wall_seconds = 10;
    const RunOutcome o = run_sandboxed(trial, Isolation::bubblewrap);
    return o.exit_status == 0 ? Isolation::bubblewrap : Isolation::rlimits;
}

std::string describe(Isolation isolation) {
    if (isolation == Isolation::bubblewrap) {
        return "bubblewrap: each run sees only its own folder, the system and the installed morlu; no "
               "network";
    }
    return "resource limits and a private folder (bubblewrap is missing or the kernel refuses its "
           "namespaces): "
           "runs are limited in time, memory, processes, output and disk, but could read files other users "
           "can";
}

}  // namespace morlu::check
