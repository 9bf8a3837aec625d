// Writing a line's parts to standard error from a signal handler or a watch
// thread: straight to the file descriptor, with no lock and no allocation.
#pragma once

#include <unistd.h>

#include <cstring>

namespace morlu::platform {

inline void write_error_text(const char* text) {
    const ssize_t written = ::write(STDERR_FILENO, text, std::strlen(text));
    (void)written;  // nothing more can be done when standard error is gone
}

}  // namespace morlu::platform
