// The desktop backend this build has.
#pragma once

#include <memory>
#include <string>

#include "platform/window/backend.h"

namespace morlu {

// Open the desktop and make its backend; nullptr, with `error` set to one line
// naming the fix, when there is no desktop to open.
std::unique_ptr<platform::Backend> make_desktop_backend(std::string& error);

}  // namespace morlu
