// morlu-bugs: the bug animation on the Linux desktop.
#include <cstdio>
#include <cstring>
#include <string>

#include "bug_app.h"
#include "platform/gtk/gtk_backend.h"
#include "platform/window/platform.h"

namespace {

constexpr const char* USAGE =
    "usage: morlu-bugs\n"
    "An animated landscape whose bugs are steered from the button panel at its left.\n"
    "The Run menu (and Ctrl+A, H, F, L, R, P, O, Q) animates, halts, steps, logs,\n"
    "records and plays back MORLU.SCR in the current directory, and quits.\n"
    "To run without a desktop, replay a tape with morlu-headless.\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        std::fputs(USAGE, stdout);
        return 0;
    }
    if (argc > 1 && !std::strcmp(argv[1], "--version")) {
        std::printf("morlu-bugs %s\n", MORLU_VERSION);
        return 0;
    }
    if (argc > 1) {
        std::fprintf(stderr, "morlu-bugs: unknown option %s (try --help)\n", argv[1]);
        return 2;
    }
    std::string error;
    auto backend = morlu::platform::make_gtk_backend(error);
    if (!backend) {
        std::fprintf(stderr, "morlu-bugs: %s\n", error.c_str());
        return 1;
    }
    morlu::platform::platform_start(*backend);
    const int status = app_main(1, 0, "", morlu::platform::SW_SHOWNORMAL);
    morlu::platform::platform_stop();
    return status;
}
