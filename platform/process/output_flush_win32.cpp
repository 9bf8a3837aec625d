// The C library's stream locks here are critical sections, which the thread
// holding them may enter again, and which offer no way to try without waiting:
// the streams are written out on the chance that no other thread holds them.
#include <cstdio>

#include "output_flush.h"

namespace morlu::platform {

void flush_output_without_waiting() {
    std::fflush(stdout);
    std::fflush(stderr);
}

}  // namespace morlu::platform
