// The desktop backend: real top-level windows, a native menu bar, input and
// time from GTK 3. This header names no toolkit type, so a program's main can
// choose the backend without seeing GTK.
#pragma once

#include <memory>
#include <string>

#include "../window/backend.h"

namespace morlu::platform {

// Open the display and make the desktop backend. Returns nullptr, with `error`
// set to one line naming the fix, when there is no display to open.
std::unique_ptr<Backend> make_gtk_backend(std::string& error);

}  // namespace morlu::platform
