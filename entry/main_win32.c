/* The main of every Windows program built with morlu_main: the program defines
 * only app_main. main serves the GUI subsystem too: MinGW-w64's start-up calls
 * it whichever subsystem the program was linked for. */
#include "morlu/canvas.h"

/* Named here so that libmorlu.a's guard is the first of its parts to be linked:
 * with the win32-threads compiler the link then fails first there, with a line
 * naming the posix-threads compiler (posix_threads_guard.s). */
extern const void* const morlu_posix_threads_guard;
__attribute__((used)) static const void* const* const needs_posix_threads = &morlu_posix_threads_guard;
/* The program's manifest, which gives it the UTF-8 code page (utf8.manifest). */
extern const char morlu_utf8_manifest[];
__attribute__((used)) static const char* const needs_manifest = morlu_utf8_manifest;

int main(int argc, char** argv) {
    return morlu_main(argc, argv, app_main);
}
