// The requests to end, on Windows: the console's Ctrl+C, Ctrl+Break and close,
// which the system delivers on a thread of its own. The first wakes the watch
// through an event; a second ends the process at once.
// The runtime's own headers come first: windows.h defines MOD_SHIFT and its
// kin as macros.
#include "output_flush.h"
#include "quit_requests.h"
#include "report.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>

namespace morlu::platform {
namespace {

HANDLE wake_event = nullptr;
std::atomic<int> requests{0};
std::atomic<DWORD> first_kind{CTRL_C_EVENT};
std::atomic<bool> taken{false};
std::string program_name = "morlu";

const char* describe(DWORD kind) {
    switch (kind) {
        case CTRL_C_EVENT:
            return "Ctrl+C";
        case CTRL_BREAK_EVENT:
            return "Ctrl+Break";
        default:
            return "the console's close";
    }
}

BOOL WINAPI on_request(DWORD kind) {
    if (kind != CTRL_C_EVENT && kind != CTRL_BREAK_EVENT && kind != CTRL_CLOSE_EVENT) return FALSE;
    if (requests.fetch_add(1) == 0) {
        first_kind = kind;
        SetEvent(wake_event);
        return TRUE;
    }
    report_line("%s: ended at once by a second %s\n", program_name.c_str(), describe(kind));
    return FALSE;  // the system's own handling ends the process
}

}  // namespace

void catch_quit_requests(const char* program) {
    program_name = program;
    requests = 0;
    taken = false;
    if (!wake_event) wake_event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    SetConsoleCtrlHandler(on_request, TRUE);
}

void release_quit_requests() {
    SetConsoleCtrlHandler(on_request, FALSE);
}

void wait_for_watch(Millis timeout) {
    const DWORD ms = timeout == Millis::max()
                         ? INFINITE
                         : static_cast<DWORD>(std::min<Millis::rep>(timeout.count(), 1 << 30));
    WaitForSingleObject(wake_event, ms);
}

void wake_watch() {
    SetEvent(wake_event);
}

const char* take_quit_request() {
    if (requests.load() == 0 || taken.exchange(true)) return nullptr;
    return describe(first_kind.load());
}

// The program's thread runs on and may hold the C library's locks, which the
// library's own clean-up at exit would wait for: the process ends without it.
void end_as_requested() {
    flush_output_without_waiting();
    TerminateProcess(GetCurrentProcess(), CONTROL_C_EXIT);
    ExitProcess(CONTROL_C_EXIT);
}

void end_process(int status) {
    flush_output_without_waiting();
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(status));
    ExitProcess(static_cast<UINT>(status));
}

}  // namespace morlu::platform
