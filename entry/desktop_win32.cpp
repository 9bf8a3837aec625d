// The desktop of the Windows edition: native windows through the system.
#include <cstdio>

#include "desktop_run.h"
#include "platform/win32/win32_backend.h"
#include "platform/window/win_types.h"
#include "runtime_session.h"

namespace morlu {

int run_desktop(const EntryOptions& options, MorluEntry entry) {
    std::string error;
    auto backend = platform::make_win32_backend(error);
    if (!backend) {
        std::fprintf(stderr, "%s: %s\n", options.program.c_str(), error.c_str());
        return 1;
    }
    runtime_start(*backend);
    const int status = entry(1, 0, options.command_line.c_str(), platform::SW_SHOWNORMAL);
    runtime_stop();
    return status;
}

}  // namespace morlu
