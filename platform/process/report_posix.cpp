// On a POSIX system a program always has standard error to print on, and its
// user reads it there.
#include "report.h"
#include "report_elsewhere.h"

namespace morlu::platform {

void report_elsewhere(const char*) {
}

void report_without_desktop() {
}

}  // namespace morlu::platform
