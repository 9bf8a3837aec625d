#include "entry_options.h"

#include <cstdio>
#include <string_view>

namespace morlu {
namespace {

bool parse_screen(std::string_view text, platform::Size& screen) {
    int w = 0, h = 0;
    char extra = 0;
    const std::string s(text);
    if (std::sscanf(s.c_str(), "%dx%d%c", &w, &h, &extra) != 2 || w < 1 || h < 1 || w > 16384 || h > 16384)
        return false;
    screen = {w, h};
    return true;
}

std::string base_name(const char* path) {
    const std::string_view p = path && *path ? path : "morlu";
    const size_t slash = p.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? p : p.substr(slash + 1));
}

// "--name VALUE" or "--name=VALUE": the value, advancing `i` past it; false
// with `o.error` set when it is missing.
bool take_value(std::string_view name, int argc, char** argv, int& i, std::string& value, EntryOptions& o) {
    const std::string_view arg = argv[i];
    if (arg.size() > name.size() && arg[name.size()] == '=') {
        value = arg.substr(name.size() + 1);
        return true;
    }
    if (i + 1 >= argc) {
        o.error = std::string(name) + " needs a value (try --help)";
        return false;
    }
    value = argv[++i];
    return true;
}

bool is_option(std::string_view arg, std::string_view name) {
    return arg == name || (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=');
}

EntryOptions refuse(EntryOptions o, std::string error) {
    o.action = EntryOptions::Action::refuse;
    o.error = std::move(error);
    return o;
}

}  // namespace

EntryOptions parse_entry_options(int argc, char** argv) {
    EntryOptions o;
    o.program = base_name(argc > 0 ? argv[0] : nullptr);
    bool screen_given = false, options_end = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        std::string value;
        if (options_end || arg.empty() || arg[0] != '-' || arg == "-") {
            if (!o.command_line.empty()) o.command_line += ' ';
            o.command_line += arg;
        } else if (arg == "--") {
            options_end = true;
        } else if (arg == "--help" || arg == "-h") {
            o.action = EntryOptions::Action::help;
            return o;
        } else if (arg == "--version") {
            o.action = EntryOptions::Action::version;
            return o;
        } else if (is_option(arg, "--tape")) {
            if (!take_value("--tape", argc, argv, i, value, o)) return refuse(o, o.error);
            o.action = EntryOptions::Action::tape;
            o.tape = value;
        } else if (is_option(arg, "--gif")) {
            if (!take_value("--gif", argc, argv, i, value, o)) return refuse(o, o.error);
            o.gif = value;
        } else if (is_option(arg, "--screen")) {
            if (!take_value("--screen", argc, argv, i, value, o)) return refuse(o, o.error);
            if (!parse_screen(value, o.screen))
                return refuse(o, "--screen wants WIDTHxHEIGHT, such as 1280x1024");
            screen_given = true;
        } else {
            return refuse(o, "unknown option " + std::string(arg) + " (try --help)");
        }
    }
    if (screen_given && o.action != EntryOptions::Action::tape)
        return refuse(o, "--screen sets the screen of a --tape run; the desktop has its own");
    if (!o.gif.empty() && o.action != EntryOptions::Action::tape)
        return refuse(o, "--gif records a --tape run; on the desktop time is not the tape's");
    return o;
}

std::string entry_usage(const std::string& program) {
    return "usage: " + program + " [--tape FILE [--screen WxH] [--gif FILE]] [ARGUMENT...]\n" +
           "With no options the program opens its windows on the desktop.\n"
           "  --tape FILE    run without a desktop, performing the user actions of FILE\n"
           "                 (UTF-8 text), one per line: click PX PY, type TEXT,\n"
           "                 key COMBO, keydown KEY, keyup KEY, focus graphics|text,\n"
           "                 menu ITEM, wait MS, snapshot FILE.png, snapshot-text FILE.png,\n"
           "                 log FILE, close, close-text; time passes only with wait.\n"
           "                 menu ITEM chooses a Run menu item by name (its text in lower\n"
           "                 case, \"-\" for spaces: halt-animation, play-one-script; or\n"
           "                 its first word: halt, play, quit) or by number: 1 Animate,\n"
           "                 2 Halt, 3 Advance one frame, 4 Logging, 5 Record,\n"
           "                 6 Playback, 7 Play one, 8 Quit.\n"
           "                 log FILE writes the console's last 25 lines: corrections and\n"
           "                 script errors always, shape descriptions only while logging\n"
           "                 is on.\n"
           "                 expect pixel PX PY RRGGBB [TOL] checks a client pixel of the\n"
           "                 graphics window (each channel within TOL, 0..255);\n"
           "                 expect log TEXT checks that the console holds the line TEXT.\n"
           "                 One that does not hold is named on stderr; the run goes on.\n"
           "  --screen WxH   the screen of a --tape run (1024x768)\n"
           "  --gif FILE     write every frame the graphics window showed during the\n"
           "                 --tape run as an animated GIF, each shown for its virtual\n"
           "                 time (the last for at least 1 s); the same tape always\n"
           "                 gives the same file\n"
           "  --help         show this and exit\n"
           "  --version      show the version and exit\n"
           "The Run menu records to and plays back MORLU.SCR in the current directory.\n"
           "Exit status: what the program returned, or one of morlu's own:\n"
           "   1  there is no display to open the windows on\n"
           "  64  an option is not understood\n"
           "  65  a tape line is not understood, or the tape is UTF-16 text\n"
           "  66  the tape cannot be opened or read\n"
           "  68  an expect line of the tape did not hold\n"
           "  69  the program ended before its tape did\n"
           "  70  the program would not end after the quit, so morlu ended it\n"
           "  73  a snapshot, log or GIF could not be written\n"
           "68, 69 and 73 replace only a 0: a status the program returned comes first,\n"
           "then 73, then 69, then 68.\n";
}

}  // namespace morlu
