// The desktop backend of the Windows edition: native top-level windows, a native
// menu bar, input and a blocking wait from the system (user32 and gdi32). This
// header names no system type, so a program's main can choose the backend
// without seeing the system's headers.
#pragma once

#include <memory>
#include <string>

#include "../window/backend.h"

namespace morlu::platform {

// Make the desktop backend. Returns nullptr, with `error` set to one line naming
// the fix, when the system gives no window (no desktop to show it on).
std::unique_ptr<Backend> make_win32_backend(std::string& error);

}  // namespace morlu::platform
