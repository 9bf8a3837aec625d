// What a morlu program's main does: read the options, start the desktop or the
// headless backend, and call the program's entry as the platform's start-up did.
#include <cstdio>

#include "desktop_run.h"
#include "entry_options.h"
#include "exit_status.h"
#include "headless_run.h"
#include "platform/process/crash_report.h"
#include "platform/process/quit_watch.h"
#include "platform/window/win_types.h"
#include "runtime_session.h"

namespace {

// The desktop run: EXIT_NO_DISPLAY, with one line, when there is no desktop to open.
int run_desktop(const morlu::EntryOptions& o, MorluEntry entry) {
    std::string error;
    auto backend = morlu::make_desktop_backend(error);
    if (!backend) {
        std::fprintf(stderr, "%s: %s\n", o.program.c_str(), error.c_str());
        return morlu::EXIT_NO_DISPLAY;
    }
    morlu::platform::Backend& desktop = *backend;
    morlu::platform::quit_watch_start({o.program, morlu::EXIT_WOULD_NOT_END, morlu::platform::Millis{1000},
                                       [&desktop] { desktop.ask_to_close(); }});
    runtime_start(desktop);
    const int status = entry(1, 0, o.command_line.c_str(), morlu::platform::SW_SHOWNORMAL);
    morlu::platform::quit_watch_stop();
    runtime_stop();
    return status;
}

}  // namespace

int morlu_main(int argc, char** argv, MorluEntry entry) {
    using morlu::EntryOptions;
    const EntryOptions o = morlu::parse_entry_options(argc, argv);
    switch (o.action) {
        case EntryOptions::Action::help:
            std::fputs(morlu::entry_usage(o.program).c_str(), stdout);
            return 0;
        case EntryOptions::Action::version:
            std::printf("%s (morlu %s)\n", o.program.c_str(), MORLU_VERSION);
            return 0;
        case EntryOptions::Action::refuse:
            std::fprintf(stderr, "%s: %s\n", o.program.c_str(), o.error.c_str());
            return morlu::EXIT_USAGE;
        case EntryOptions::Action::tape:
        case EntryOptions::Action::desktop:
            break;
    }
    if (!entry) {
        std::fprintf(stderr, "%s: no program entry was given\n", o.program.c_str());
        return morlu::EXIT_USAGE;
    }
    morlu::platform::catch_crashes(o.program.c_str());
    if (o.action == EntryOptions::Action::tape)
        return morlu::run_tape_file(o.tape.c_str(),
                                    {.screen = o.screen,
                                     .program = o.program,
                                     .command_line = o.command_line,
                                     .watch_quit = true,
                                     .gif = o.gif},
                                    entry);
    return run_desktop(o, entry);
}
