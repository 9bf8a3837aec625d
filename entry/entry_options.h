// The options every morlu program understands, read from its command line.
#pragma once

#include <string>

#include "platform/window/backend.h"

namespace morlu {

struct EntryOptions {
    enum class Action { desktop, tape, help, version, refuse };
    Action action = Action::desktop;
    std::string program = "morlu";  // the program's name, for messages
    std::string tape;               // --tape FILE
    std::string gif;                // --gif FILE, with --tape
    platform::Size screen{1024, 768};
    std::string command_line;  // the arguments that are not options, joined by spaces
    std::string error;         // refuse: one line saying what is wrong
};

EntryOptions parse_entry_options(int argc, char** argv);
// The --help text for `program`.
std::string entry_usage(const std::string& program);

}  // namespace morlu
