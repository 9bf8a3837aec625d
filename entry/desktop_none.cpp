// A build without a desktop backend still runs programs with --tape.
#include <cstdio>

#include "desktop_run.h"

namespace morlu {

int run_desktop(const EntryOptions& options, MorluEntry) {
    std::fprintf(stderr, "%s: this build of morlu has no desktop; run the program with --tape FILE\n",
                 options.program.c_str());
    return 1;
}

}  // namespace morlu
