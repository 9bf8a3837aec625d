// The desktop of the Windows edition: native windows through the system.
#include "desktop_run.h"
#include "platform/win32/win32_backend.h"

namespace morlu {

std::unique_ptr<platform::Backend> make_desktop_backend(std::string& error) {
    return platform::make_win32_backend(error);
}

}  // namespace morlu
