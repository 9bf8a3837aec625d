// Where a program's lines go on Windows. morlu's programs are GUI-subsystem
// executables, so that a double-click opens no empty console over them; such a
// program starts with standard handles only where its output was redirected
// (to a file or a pipe). Started from a console (cmd.exe, PowerShell), it
// attaches to that console before main, so --help, tape runs and error lines
// print where the user typed. With no console at all (started from Explorer),
// a line after which the program ends is shown in a message box, but never in
// a tape run nor where no one sees a desktop: those never wait for a click.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "report.h"
#include "report_elsewhere.h"

namespace morlu::platform {
namespace {

// Output to a file or a pipe already goes where the user sent it.
bool redirected(HANDLE h) {
    if (!h || h == INVALID_HANDLE_VALUE) return false;
    const DWORD type = GetFileType(h);
    return type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE;
}

// Any handle the system gave: a file, a pipe, a console or a device such as NUL.
bool present(HANDLE h) {
    return h && h != INVALID_HANDLE_VALUE && GetFileType(h) != FILE_TYPE_UNKNOWN;
}

// Point the C library's stream `fd` (1 or 2), and the process's standard
// handle, at the console. The descriptor becomes a copy of one opened on the
// console; a stream that had none (the C library marks it -2 in a program
// started without handles) is given it. freopen would be the usual way, but
// Wine's C library refuses to reopen such a stream.
void reopen_on_console(std::FILE* stream, int fd, DWORD which) {
    const HANDLE console =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, 0, nullptr);
    if (console == INVALID_HANDLE_VALUE) return;
    const int opened = _open_osfhandle(reinterpret_cast<intptr_t>(console), _O_TEXT);
    if (opened < 0) {
        CloseHandle(console);
        return;
    }
    _dup2(opened, fd);
    _close(opened);
    if (_fileno(stream) < 0) stream->_file = fd;
    SetStdHandle(which, reinterpret_cast<HANDLE>(_get_osfhandle(fd)));
}

// True when standard error reaches the user afterwards.
bool connect_output() {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (redirected(out) && redirected(err)) return true;
    // A console program has its console already; the system refuses a second.
    const bool attached = AttachConsole(ATTACH_PARENT_PROCESS) || GetLastError() == ERROR_ACCESS_DENIED;
    if (attached && !present(out)) reopen_on_console(stdout, 1, STD_OUTPUT_HANDLE);
    if (attached && !present(err)) reopen_on_console(stderr, 2, STD_ERROR_HANDLE);
    return attached || present(err);
}

// Before main, so that the program's first line already finds the console.
// Every program links this file: its main starts the quit watch, which reports
// through it.
const bool error_reaches_user = connect_output();
std::atomic<bool> without_desktop{false};

// The window station of a user at a screen, not a service's. (Wine without a
// display has one too, but cannot make the box and returns at once.)
bool desktop_seen() {
    USEROBJECTFLAGS flags{};
    const HWINSTA station = GetProcessWindowStation();
    return station && GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, nullptr) &&
           (flags.dwFlags & WSF_VISIBLE) != 0;
}

// The line in a box the user must close; the text is in the program's code page.
void show_box(std::string line) {
    while (!line.empty() && line.back() == '\n') line.pop_back();
    const int n = MultiByteToWideChar(CP_ACP, 0, line.c_str(), -1, nullptr, 0);
    std::wstring text(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, line.c_str(), -1, text.data(), n);
    MessageBoxW(nullptr, text.c_str(), L"morlu", MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
}

}  // namespace

void report_elsewhere(const char* line) {
    if (!error_reaches_user && !without_desktop.load() && desktop_seen()) show_box(line);
}

void report_without_desktop() {
    without_desktop = true;
}

}  // namespace morlu::platform
