// The requests to end, on a POSIX system: SIGINT, SIGTERM and SIGHUP. The
// handler only counts and wakes the watch through a semaphore, which is all a
// signal handler may safely do; a second signal ends the process at once.
#include <semaphore.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "error_write_posix.h"
#include "output_flush.h"
#include "quit_requests.h"

namespace morlu::platform {
namespace {

constexpr std::array<int, 3> SIGNALS{SIGINT, SIGTERM, SIGHUP};

// A semaphore rather than a pipe: the watch holds no file open.
sem_t wake;
bool wake_made = false;
std::atomic<int> requests{0};
std::atomic<int> first_signal{0};
std::atomic<bool> taken{false};
std::array<struct sigaction, SIGNALS.size()> saved_actions{};
char program_name[256] = "morlu";

const char* describe(int signal) {
    switch (signal) {
        case SIGINT:
            return "Ctrl+C (SIGINT)";
        case SIGTERM:
            return "SIGTERM";
        case SIGHUP:
            return "SIGHUP (its terminal went away)";
        default:
            return "a signal";
    }
}

// Runs in the signal: only async-signal-safe calls.
void on_request(int signal) {
    const int saved_errno = errno;
    if (requests.fetch_add(1) == 0) {
        first_signal = signal;
        ::sem_post(&wake);
        errno = saved_errno;
        return;
    }
    write_error_text(program_name);
    write_error_text(": ended at once by a second ");
    write_error_text(describe(signal));
    write_error_text("\n");
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

// Several wakes while the watch was busy are one.
void drain_wakes() {
    while (::sem_trywait(&wake) == 0) {
    }
}

}  // namespace

void catch_quit_requests(const char* program) {
    std::snprintf(program_name, sizeof program_name, "%s", program);
    requests = 0;
    taken = false;
    if (!wake_made) wake_made = ::sem_init(&wake, 0, 0) == 0;
    struct sigaction action {};
    action.sa_handler = on_request;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < SIGNALS.size(); ++i) ::sigaction(SIGNALS[i], &action, &saved_actions[i]);
}

void release_quit_requests() {
    for (size_t i = 0; i < SIGNALS.size(); ++i) ::sigaction(SIGNALS[i], &saved_actions[i], nullptr);
}

void wait_for_watch(Millis timeout) {
    if (timeout == Millis::max()) {
        while (::sem_wait(&wake) != 0 && errno == EINTR) {
        }
    } else {
        timespec at{};
        ::clock_gettime(CLOCK_MONOTONIC, &at);
        const Millis::rep ms = std::min<Millis::rep>(timeout.count(), Millis::rep{1} << 40);
        at.tv_sec += static_cast<time_t>(ms / 1000);
        at.tv_nsec += static_cast<long>(ms % 1000) * 1000000L;
        if (at.tv_nsec >= 1000000000L) at.tv_sec += 1, at.tv_nsec -= 1000000000L;
        while (::sem_clockwait(&wake, CLOCK_MONOTONIC, &at) != 0 && errno == EINTR) {
        }
    }
    drain_wakes();
}

void wake_watch() {
    ::sem_post(&wake);
}

const char* take_quit_request() {
    if (requests.load() == 0 || taken.exchange(true)) return nullptr;
    return describe(first_signal.load());
}

void end_as_requested() {
    const int signal = first_signal.load();
    flush_output_without_waiting();
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    ::_exit(128 + signal);
}

void end_process(int status) {
    flush_output_without_waiting();
    ::_exit(status);
}

}  // namespace morlu::platform
