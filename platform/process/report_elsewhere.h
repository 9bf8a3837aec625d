// Each edition's way of showing a fatal line where standard error may not reach
// the user: nothing on POSIX systems, a message box for a Windows program that
// has no console (report_win32.cpp).
#pragma once

namespace morlu::platform {

// `line` was already printed on standard error; it may end with a newline.
void report_elsewhere(const char* line);

}  // namespace morlu::platform
