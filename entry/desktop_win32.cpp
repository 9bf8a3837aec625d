// The desktop of the Windows edition: native windows through the system.
#include "desktop_run.h"
#include "platform/win32/win32_backend.h"

// A program with a main of its own links libmorlu.a without main_win32.c: the
// desktop names for it the guard against the win32-threads compiler
// (posix_threads_guard.s) and the manifest that gives it the UTF-8 code page
// (utf8.manifest).
extern "C" const void* const morlu_posix_threads_guard;
__attribute__((used)) static const void* const* const needs_posix_threads = &morlu_posix_threads_guard;
extern "C" const char morlu_utf8_manifest[];
__attribute__((used)) static const char* const needs_manifest = morlu_utf8_manifest;

namespace morlu {

std::unique_ptr<platform::Backend> make_desktop_backend(std::string& error) {
    return platform::make_win32_backend(error);
}

}  // namespace morlu
