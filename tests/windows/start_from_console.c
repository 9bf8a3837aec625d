/* Starts a Windows program as a console's shell starts one, for the tests of the
 * Windows edition under Wine.
 *
 * start_from_console.exe PROGRAM [ARGUMENT...]
 *     PROGRAM gets no standard handles and no console of its own, as a GUI
 *     program started from cmd.exe; it may attach to this one's console. Ends
 *     with PROGRAM's status.
 * start_from_console.exe --ctrl-c PROGRAM [ARGUMENT...]
 *     On a new console, with standard error passed on (so that its lines reach
 *     the test): once PROGRAM shows "MORLU Graphics", wait a second and press
 *     Ctrl+C in the console; print how many milliseconds PROGRAM took to end
 *     and its status, or that it did not end within ten seconds. */
#include <windows.h>

#include <stdio.h>
#include <string.h>

/* The command line after this program's name, and after --ctrl-c if given. */
static wchar_t* rest_of_command_line(int* ctrl_c) {
    wchar_t* line = GetCommandLineW();
    int quoted = 0;
    while (*line && (quoted || (*line != L' ' && *line != L'\t'))) {
        if (*line == L'"') quoted = !quoted;
        line++;
    }
    while (*line == L' ' || *line == L'\t') line++;
    *ctrl_c = wcsncmp(line, L"--ctrl-c ", 9) == 0;
    if (*ctrl_c) line += 9;
    return line;
}

/* `error` is the standard error to pass on, or NULL for none. */
static int start(wchar_t* line, HANDLE error, PROCESS_INFORMATION* child) {
    STARTUPINFOW si;
    memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdError = error;
    if (error) SetHandleInformation(error, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    /* A GUI program started from a console has none: it must attach to ours. */
    return CreateProcessW(NULL, line, NULL, NULL, error != NULL, DETACHED_PROCESS, NULL, NULL, &si, child);
}

static int press_ctrl_c(PROCESS_INFORMATION* child) {
    for (int i = 0; i < 600 && !FindWindowW(NULL, L"MORLU Graphics"); i++) Sleep(50);
    Sleep(1000);
    SetConsoleCtrlHandler(NULL, TRUE); /* this program goes on */
    const DWORD pressed = GetTickCount();
    GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    const DWORD waited = WaitForSingleObject(child->hProcess, 10000);
    DWORD status = 0;
    GetExitCodeProcess(child->hProcess, &status);
    if (waited != WAIT_OBJECT_0) {
        printf("start_from_console: still running 10 s after Ctrl+C\n");
        TerminateProcess(child->hProcess, 1);
        return 1;
    }
    printf("start_from_console: ended %lu ms after Ctrl+C with status %lu\n", GetTickCount() - pressed,
           status);
    return 0;
}

int main(void) {
    int ctrl_c = 0;
    wchar_t* line = rest_of_command_line(&ctrl_c);
    /* Taken before the new console replaces it. */
    HANDLE error = ctrl_c ? GetStdHandle(STD_ERROR_HANDLE) : NULL;
    if (ctrl_c) {
        FreeConsole();
        AllocConsole();
    }
    PROCESS_INFORMATION child;
    if (!start(line, error, &child)) {
        fprintf(stderr, "start_from_console: cannot start %ls (error %lu)\n", line, GetLastError());
        return 127;
    }
    if (ctrl_c) return press_ctrl_c(&child);
    WaitForSingleObject(child.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(child.hProcess, &status);
    return (int)status;
}
