// One untrusted run: fork, limits, the sandbox, then watch the clock, the
// output and the folder's size until the run ends or is ended.
#include "sandbox.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

#include "sandbox_paths.h"

namespace morlu::check {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr size_t KEEP_HEAD = 24 * 1024;  // a compiler's first messages matter most
constexpr size_t KEEP_TAIL = 8 * 1024;   // a crash's last lines matter most
constexpr int POLL_MS = 25;              // how often the clock and the folder are looked at
constexpr int FIRST_SLOT_UID = 61000;    // worker N runs as user 61000 + N when the checker is root

// Everything the child needs, made before fork: after it only system calls.
struct ChildPlan {
    std::vector<std::string> strings;
    std::vector<char*> argv;
    std::vector<char*> envp;
    std::string folder;
    RunLimits limits;
    uid_t uid = 0;  // 0: keep the checker's own user
    int nproc = 0;
    int out = -1, err = -1, null_in = -1;
};

void set_limit(int resource, rlim_t value) {
    const rlimit r{value, value};
    ::setrlimit(resource, &r);
}

[[noreturn]] void start_child(const ChildPlan& p) {
    ::setpgid(0, 0);
    ::dup2(p.null_in, 0);
    ::dup2(p.out, 1);
    ::dup2(p.err, 2);
    // Only the three standard streams go with the program. Another worker may
    // have had a file open for writing when this one forked, a program being
    // copied into its folder, say: kept open here it would be the student's to
    // read, and would keep that program from starting ("text file busy").
    if (::close_range(3, ~0U, 0) != 0) {
        for (int fd = 3; fd < 1024; ++fd) ::close(fd);
    }
    // A second more than asked: a program that spins on one thread meets the wall
    // clock's limit first and reads "timed out", whichever limit is the lower.
    set_limit(RLIMIT_CPU, static_cast<rlim_t>(p.limits.cpu_seconds) + 1);
    set_limit(RLIMIT_AS, static_cast<rlim_t>(p.limits.memory_mb) << 20);
    set_limit(RLIMIT_FSIZE, static_cast<rlim_t>(p.limits.disk_bytes));
    set_limit(RLIMIT_CORE, 0);
    set_limit(RLIMIT_NOFILE, 256);
    if (p.nproc > 0) set_limit(RLIMIT_NPROC, static_cast<rlim_t>(p.nproc));
    if (p.uid != 0) {
        const gid_t gid = p.uid;
        if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(p.uid) != 0) ::_exit(127);
    }
    // Ended with the checker, even by Ctrl+C; set after setuid, which clears it.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::chdir(p.folder.c_str()) != 0) ::_exit(127);
    // A program another worker's child has just stopped holding open for writing
    // can still be busy for a moment: try again for a second.
    for (int attempt = 0; attempt < 100; ++attempt) {
        ::execve(p.argv[0], p.argv.data(), p.envp.data());
        if (errno != ETXTBSY) break;
        ::usleep(10000);
    }
    ::_exit(127);
}

std::vector<char*> pointers(std::vector<std::string>& strings, size_t from, size_t count) {
    std::vector<char*> out;
    for (size_t i = from; i < from + count; ++i) out.push_back(strings[i].data());
    out.push_back(nullptr);
    return out;
}

// The number of processes `uid` has now: a limit on processes counts them all.
int count_processes(uid_t uid) {
    int n = 0;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator("/proc", ec)) {
        struct stat st {};
        if (std::isdigit(static_cast<unsigned char>(e.path().filename().string()[0])) &&
            ::stat(e.path().c_str(), &st) == 0 && st.st_uid == uid) {
            ++n;
        }
    }
    return n;
}

ChildPlan make_plan(const RunRequest& r, Isolation isolation) {
    ChildPlan p;
    p.folder = r.folder.string();
    p.limits = r.limits;
    p.uid = ::geteuid() == 0 ? worker_uid(r.slot) : 0;
    p.nproc = p.uid != 0 ? r.limits.processes : count_processes(::geteuid()) + r.limits.processes;
    std::vector<std::string> argv =
        isolation == Isolation::bubblewrap ? bubblewrap_argv(r, p.uid != 0 ? p.uid : ::geteuid()) : r.argv;
    const std::string tmp = isolation == Isolation::bubblewrap ? "/tmp" : p.folder;
    std::vector<std::string> env = {"PATH=/usr/local/bin:/usr/bin:/bin", "HOME=" + p.folder, "TMPDIR=" + tmp,
                                    "LC_ALL=C.UTF-8"};
    p.strings = argv;
    p.strings.insert(p.strings.end(), env.begin(), env.end());
    p.argv = pointers(p.strings, 0, argv.size());
    p.envp = pointers(p.strings, argv.size(), env.size());
    return p;
}

// The fields of /proc/PID/stat the checker needs.
struct ProcessInfo {
    pid_t pid = 0;
    char state = 0;
    pid_t parent = 0;
    pid_t group = 0;
    uid_t uid = 0;
};

std::vector<ProcessInfo> list_processes() {
    std::vector<ProcessInfo> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator("/proc", ec)) {
        const std::string name = e.path().filename().string();
        if (name.empty() || !std::isdigit(static_cast<unsigned char>(name[0]))) continue;
        std::ifstream in(e.path() / "stat");
        std::string stat;
        std::getline(in, stat);
        const size_t close = stat.rfind(')');  // the command may hold spaces and parentheses
        struct stat st {};
        ProcessInfo p;
        if (close == std::string::npos || ::stat(e.path().c_str(), &st) != 0) continue;
        std::istringstream fields(stat.substr(close + 1));
        fields >> p.state >> p.parent >> p.group;
        p.pid = static_cast<pid_t>(std::stol(name));
        p.uid = st.st_uid;
        out.push_back(p);
    }
    return out;
}

// The checker is the subreaper of everything it starts (main sets it), so a
// run's orphans become its children when they end: reap those of this run
// (its user's, or its process group's), never another worker's.
void reap_orphans(uid_t uid, pid_t group) {
    for (const ProcessInfo& p : list_processes()) {
        const bool ours = uid != 0 ? p.uid == uid : p.group == group;
        if (p.parent == ::getpid() && p.state == 'Z' && ours) ::waitpid(p.pid, nullptr, WNOHANG);
    }
}

// Every process of the run's own user ends: those it left behind, and those a
// setsid took out of its process group. A killed process takes a moment to go,
// and the next run of this worker counts what is left against its limit, so
// wait (up to two seconds) until none is left.
void end_user_processes(uid_t uid, pid_t group) {
    for (int round = 0; round < 200; ++round) {
        ::kill(-group, SIGKILL);
        if (uid != 0) {
            const pid_t helper = ::fork();
            if (helper == 0) {
                if (::setgid(uid) == 0 && ::setuid(uid) == 0) ::kill(-1, SIGKILL);
                ::_exit(0);
            }
            if (helper > 0) ::waitpid(helper, nullptr, 0);
        }
        reap_orphans(uid, group);
        bool left = false;
        for (const ProcessInfo& p : list_processes())
            left = left || (uid != 0 ? p.uid == uid : p.group == group);
        if (!left) return;
        ::usleep(5000);
    }
}

// The bytes under `folder`, counting a folder and a link as a block each, so
// that a million empty files count too.
long long folder_bytes(const fs::path& folder) {
    long long total = 0;
    std::error_code ec;
    for (auto it =
             fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) == 0) total += std::max<long long>(st.st_blocks * 512, 4096);
    }
    return total;
}

class Watch {
public:
    Watch(const RunRequest& r, pid_t pid, uid_t uid, int out, int err)
        : r_(r), pid_(pid), uid_(uid), fds_{{out, POLLIN, 0}, {err, POLLIN, 0}} {
    }

    void run(RunOutcome& o) {
        const auto start = Clock::now();
        int status = 0;
        bool ended = false;
        while (!ended) {
            read_pipes(o, POLL_MS);
            ended = ::waitpid(pid_, &status, WNOHANG) == pid_;
            if (!ended && over_a_limit(o, start)) {
                ::kill(-pid_, SIGKILL);
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, &status, 0);
                ended = true;
            }
        }
        o.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        end_user_processes(uid_, pid_);  // what it left behind
        drain(o);
        if (WIFEXITED(status)) o.exit_status = WEXITSTATUS(status);
        if (WIFSIGNALED(status)) o.signal = WTERMSIG(status);
    }

private:
    bool over_a_limit(RunOutcome& o, Clock::time_point start) {
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (seconds > r_.limits.wall_seconds) o.timed_out = true;
        if (o.out.bytes + o.err.bytes > r_.limits.output_bytes) o.too_much_output = true;
        if (++ticks_ % 4 == 0 && folder_bytes(r_.folder) > r_.limits.disk_bytes) o.too_much_disk = true;
        return o.timed_out || o.too_much_output || o.too_much_disk;
    }

    void read_pipes(RunOutcome& o, int timeout_ms) {
        if (fds_[0].fd < 0 && fds_[1].fd < 0) {
            ::usleep(static_cast<useconds_t>(timeout_ms) * 1000);
            return;
        }
        if (::poll(fds_, 2, timeout_ms) <= 0) return;
        for (int i = 0; i < 2; ++i) {
            if (fds_[i].fd < 0 || !(fds_[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            char buffer[16384];
            const ssize_t n = ::read(fds_[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                (i == 0 ? o.out : o.err).add(buffer, static_cast<size_t>(n));
            } else {
                ::close(fds_[i].fd);
                fds_[i].fd = -1;
            }
        }
    }

    // After the end, what is left in the pipes; nobody can hold them open now.
    void drain(RunOutcome& o) {
        for (int round = 0; round < 200 && (fds_[0].fd >= 0 || fds_[1].fd >= 0); ++round) read_pipes(o, 10);
        for (pollfd& f : fds_) {
            if (f.fd >= 0) ::close(f.fd);
        }
    }

    const RunRequest& r_;
    pid_t pid_;
    uid_t uid_;
    pollfd fds_[2];
    int ticks_ = 0;
};

}  // namespace

unsigned worker_uid(int slot) {
    return static_cast<unsigned>(FIRST_SLOT_UID + slot);
}

void Captured::add(const char* data, size_t n) {
    bytes += static_cast<long long>(n);
    const size_t to_head = std::min(n, KEEP_HEAD - std::min(head.size(), KEEP_HEAD));
    head.append(data, to_head);
    tail.append(data + to_head, n - to_head);
    if (tail.size() > 2 * KEEP_TAIL) tail.erase(0, tail.size() - KEEP_TAIL);
}

std::string Captured::text() const {
    const std::string end = tail.size() > KEEP_TAIL ? tail.substr(tail.size() - KEEP_TAIL) : tail;
    const long long left_out = bytes - static_cast<long long>(head.size() + end.size());
    if (left_out <= 0) return head + end;
    return head + "\n[... " + std::to_string(left_out) + " bytes left out ...]\n" + end;
}

RunOutcome run_sandboxed(const RunRequest& request, Isolation isolation) {
    RunOutcome o;
    ChildPlan plan = make_plan(request, isolation);
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return o;
    if (::pipe2(err, O_CLOEXEC) != 0) {
        ::close(out[0]);
        ::close(out[1]);
        return o;
    }
    plan.out = out[1];
    plan.err = err[1];
    plan.null_in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const pid_t pid = ::fork();
    if (pid == 0) start_child(plan);
    ::close(out[1]);
    ::close(err[1]);
    ::close(plan.null_in);
    if (pid < 0) {
        ::close(out[0]);
        ::close(err[0]);
        return o;
    }
    o.started = true;
    ::setpgid(pid, pid);  // also here, so a kill of the group cannot come before the child's own
    Watch(request, pid, plan.uid, out[0], err[0]).run(o);
    return o;
}

std::string signal_words(int signal) {
    switch (signal) {
        case SIGSEGV:
            return "segmentation fault";
        case SIGBUS:
            return "bus error";
        case SIGFPE:
            return "arithmetic error, such as a division by zero";
        case SIGILL:
            return "illegal instruction";
        case SIGABRT:
            return "aborted";
        case SIGKILL:
            return "killed";
        case SIGTERM:
            return "terminated";
        case SIGXCPU:
            return "CPU time limit";
        case SIGXFSZ:
            return "file size limit";
        case SIGPIPE:
            return "broken pipe";
        case SIGTRAP:
            return "trap";
        default:
            return std::string("signal ") + std::to_string(signal) + " (" + strsignal(signal) + ")";
    }
}

}  // namespace morlu::check
