// The desktop of the Windows edition: native windows through the system.
#include "desktop_run.h"
#include "platform/win32/win32_backend.h"

// A program with a main of its own links libmorlu.a without main_win32.c: the
// desktop names the guard against the win32-threads compiler for it
// (posix_threads_guard.s).
extern "C" const void* const morlu_posix_threads_guard;
__attribute__((used)) static const void* const* const needs_posix_threads = &morlu_posix_threads_guard;

namespace morlu {

std::unique_ptr<platform::Backend> make_desktop_backend(std::string& error) {
    return platform::make_win32_backend(error);
}

}  // namespace morlu
