// Crashes on Windows: a system exception nothing handled (an access violation,
// an integer division by zero, a stack overflow). The filter prints the line,
// then the stack as module+offset pairs, which `addr2line -e PROGRAM.exe` turns
// into lines of source for a program built with -g, and ends the process with
// the exception's code, the status Windows gives such a crash.
#include "crash_parts.h"
#include "crash_report.h"
#include "output_flush.h"
#include "report.h"

#include <windows.h>

#include <cinttypes>
#include <cstdio>

namespace morlu::platform {
namespace {

constexpr const char* HINT = "to see the line, build it with -g and run it under gdb";

constexpr int MAX_FRAMES = 48;

// What abort() ends a process with on Windows.
constexpr UINT ABORT_STATUS = 3;

LONG crashing = 0;

const char* describe(const EXCEPTION_RECORD& r) {
    switch (r.ExceptionCode) {
        case EXCEPTION_ACCESS_VIOLATION:
        case EXCEPTION_IN_PAGE_ERROR:
            return r.NumberParameters >= 2 && r.ExceptionInformation[1] < 0x10000
                       ? "it used a null pointer (an access violation)"
                       : "it used memory it does not own (an access violation): a stale pointer, or an index "
                         "past the end of an array";
        case EXCEPTION_STACK_OVERFLOW:
            return "it used up its stack (a stack overflow): a function that calls itself without end";
        case EXCEPTION_INT_DIVIDE_BY_ZERO:
            return "it divided an integer by zero";
        case EXCEPTION_INT_OVERFLOW:
            return "an integer division overflowed";
        case EXCEPTION_ILLEGAL_INSTRUCTION:
        case EXCEPTION_PRIV_INSTRUCTION:
            return "the processor refused one of its instructions, as happens when a function that must "
                   "return a value ends without a return";
        default:
            return "an exception of the system stopped it";
    }
}

void print_frame(DWORD64 pc) {
    HMODULE module = nullptr;
    char path[MAX_PATH] = "?";
    if (GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCSTR>(pc), &module))
        GetModuleFileNameA(module, path, sizeof path);
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/') name = p + 1;
    const auto base = reinterpret_cast<DWORD64>(module);
    report_line("  %s+0x%" PRIx64 "\n", name, static_cast<uint64_t>(pc - base));
}

// Walk the stack from the faulting instruction by the unwind tables every
// x64 program carries.
void print_stack(CONTEXT context) {
    report_line("stack, innermost call first:\n");
    for (int i = 0; i < MAX_FRAMES && context.Rip; ++i) {
        print_frame(context.Rip);
        DWORD64 image_base = 0;
        RUNTIME_FUNCTION* entry = RtlLookupFunctionEntry(context.Rip, &image_base, nullptr);
        if (!entry) {  // a leaf function: its return address is on top of the stack
            context.Rip = *reinterpret_cast<DWORD64*>(context.Rsp);
            context.Rsp += 8;
            continue;
        }
        void* handler_data = nullptr;
        DWORD64 frame = 0;
        RtlVirtualUnwind(UNW_FLAG_NHANDLER, image_base, context.Rip, entry, &context, &handler_data, &frame,
                         nullptr);
    }
}

DWORD WINAPI report_and_end(void* pointers) {
    const auto* e = static_cast<EXCEPTION_POINTERS*>(pointers);
    flush_output_without_waiting();
    report_fatal_line("%s: crashed: %s; %s\n", crash::program, describe(*e->ExceptionRecord), HINT);
    print_stack(*e->ContextRecord);
    TerminateProcess(GetCurrentProcess(), e->ExceptionRecord->ExceptionCode);
    return 0;
}

// The report runs on a thread of its own: after a stack overflow the crashed
// thread has too little stack left to print a line.
LONG WINAPI on_unhandled(EXCEPTION_POINTERS* e) {
    if (InterlockedExchange(&crashing, 1) == 0) {
        HANDLE reporter = CreateThread(nullptr, 256 * 1024, report_and_end, e, 0, nullptr);
        if (reporter) WaitForSingleObject(reporter, INFINITE);
    }
    TerminateProcess(GetCurrentProcess(), e->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

namespace crash {

void end_after_uncaught(const std::string& what) {
    if (InterlockedExchange(&crashing, 1) == 0) {
        flush_output_without_waiting();
        report_fatal_line("%s: crashed: %s; %s\n", program, what.c_str(), UNCAUGHT_HINT);
    }
    TerminateProcess(GetCurrentProcess(), ABORT_STATUS);
    ExitProcess(ABORT_STATUS);
}

}  // namespace crash

void catch_crashes(const char* program) {
    crash::set_program(program);
    SetUnhandledExceptionFilter(on_unhandled);
    crash::catch_uncaught_exceptions();
}

}  // namespace morlu::platform
