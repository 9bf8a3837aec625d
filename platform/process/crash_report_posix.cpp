// Crashes on a POSIX system: the fatal signals. The handler runs on a stack of
// its own, so that a function calling itself without end, which has used up
// the program's stack, is reported too. It uses only what a signal handler may:
// write(2), and the C library's backtrace, loaded before any crash.
#include <execinfo.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>

#include "crash_parts.h"
#include "crash_report.h"
#include "error_write_posix.h"
#include "output_flush.h"

namespace morlu::platform {
namespace {

constexpr std::array<int, 5> FATAL_SIGNALS{SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

constexpr const char* HINT =
    "to see the line, build it with -g -fsanitize=address and run it again, or run it under gdb";

constexpr int MAX_FRAMES = 48;

// 64 KiB: more than the handler and backtrace need, whatever SIGSTKSZ is here.
alignas(16) char signal_stack[1 << 16];
volatile std::sig_atomic_t crashing = 0;

const char* describe(int signal, int code) {
    switch (signal) {
        case SIGSEGV:
            return "it used memory it does not own (SIGSEGV): a null or stale pointer, an index past the end "
                   "of an array, or a function that calls itself without end";
        case SIGBUS:
            return "it used memory at an address that cannot hold it (SIGBUS): a stale pointer, or a file "
                   "cut short under it";
        case SIGFPE:
            return code == FPE_INTDIV ? "it divided an integer by zero (SIGFPE)"
                                      : "an arithmetic fault stopped it (SIGFPE), such as an integer "
                                        "division that overflowed";
        case SIGILL:
            return "the processor refused one of its instructions (SIGILL), as happens when a function that "
                   "must return a value ends without a return";
        case SIGABRT:
            return "it stopped itself (SIGABRT), as a failed assert or a damaged heap does; the line above "
                   "says why";
        default:
            return "a fatal signal stopped it";
    }
}

void write_line(const char* what, const char* hint) {
    write_error_text(crash::program);
    write_error_text(": crashed: ");
    write_error_text(what);
    write_error_text("; ");
    write_error_text(hint);
    write_error_text("\n");
}

// The frames from `skip` on: those below are the report's own.
void write_stack(int skip) {
    void* frames[MAX_FRAMES];
    const int count = ::backtrace(frames, MAX_FRAMES);
    if (count <= skip) return;
    write_error_text("stack, innermost call first:\n");
    ::backtrace_symbols_fd(frames + skip, count - skip, STDERR_FILENO);
}

// Runs in the signal: only async-signal-safe calls, and no allocation. With
// the handler reset, the signal raised again ends the process as it would
// have ended without it, core dump and shell's message included.
void on_fatal_signal(int signal, siginfo_t* info, void*) {
    if (!crashing) {
        crashing = 1;
        flush_output_without_waiting();
        write_line(describe(signal, info ? info->si_code : 0), HINT);
        write_stack(1);
    }
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

bool handler_is_default(int signal) {
    struct sigaction current {};
    return ::sigaction(signal, nullptr, &current) == 0 && !(current.sa_flags & SA_SIGINFO) &&
           current.sa_handler == SIG_DFL;
}

void catch_signal(int signal) {
    if (!handler_is_default(signal)) return;
    struct sigaction action {};
    action.sa_sigaction = on_fatal_signal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
}

}  // namespace

namespace crash {

// abort() would come back to the SIGABRT handler and print a second line.
void end_after_uncaught(const std::string& what) {
    if (!crashing) {
        crashing = 1;
        flush_output_without_waiting();
        write_line(what.c_str(), UNCAUGHT_HINT);
        write_stack(2);
    }
    ::signal(SIGABRT, SIG_DFL);
    std::abort();
}

}  // namespace crash

void catch_crashes(const char* program) {
    crash::set_program(program);
    // The first backtrace loads the unwinder, which a signal handler could not.
    void* frame = nullptr;
    ::backtrace(&frame, 1);
    stack_t stack{};
    if (::sigaltstack(nullptr, &stack) == 0 && (stack.ss_flags & SS_DISABLE)) {
        stack.ss_sp = signal_stack;
        stack.ss_size = sizeof signal_stack;
        stack.ss_flags = 0;
        ::sigaltstack(&stack, nullptr);
    }
    for (int signal : FATAL_SIGNALS) catch_signal(signal);
    crash::catch_uncaught_exceptions();
}

}  // namespace morlu::platform
