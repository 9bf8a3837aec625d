// morlu-headless: the bug program without a desktop, driven by a tape of user
// actions (see platform/headless/tape.h for the format).
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "headless_run.h"

namespace {

constexpr const char* USAGE =
    "usage: morlu-headless [--screen WxH] TAPE\n"
    "Runs the bug program in memory, performing the tape's actions one per line:\n"
    "click PX PY, type TEXT, key COMBO, keydown KEY, keyup KEY, focus graphics|text,\n"
    "menu ID, wait MS, snapshot FILE, snapshot-text FILE, log FILE, close, close-text.\n"
    "MORLU.SCR is read and written in the current directory. The screen is 1024x768\n"
    "unless --screen says otherwise. Exit status: the program's (0), 2 for a tape\n"
    "line that is not understood, 3 when a snapshot or log could not be written.\n";

bool parse_screen(const char* text, morlu::platform::Size& screen) {
    int w = 0, h = 0;
    char extra = 0;
    if (std::sscanf(text, "%dx%d%c", &w, &h, &extra) != 2 || w < 1 || h < 1 || w > 16384 || h > 16384)
        return false;
    screen = {w, h};
    return true;
}

bool read_file(const char* path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    text = out.str();
    return static_cast<bool>(in) || in.eof();
}

}  // namespace

int main(int argc, char** argv) {
    morlu::platform::Size screen{1024, 768};
    int arg = 1;
    if (arg < argc && (!std::strcmp(argv[arg], "--help") || !std::strcmp(argv[arg], "-h"))) {
        std::fputs(USAGE, stdout);
        return 0;
    }
    if (arg + 1 < argc && !std::strcmp(argv[arg], "--screen")) {
        if (!parse_screen(argv[arg + 1], screen)) {
            std::fprintf(stderr, "morlu-headless: --screen wants WIDTHxHEIGHT, such as 1280x1024\n");
            return 2;
        }
        arg += 2;
    }
    if (arg + 1 != argc) {
        std::fputs(USAGE, stderr);
        return 2;
    }
    std::string text, error;
    if (!read_file(argv[arg], text)) {
        std::fprintf(stderr, "morlu-headless: cannot read the tape %s\n", argv[arg]);
        return 2;
    }
    auto actions = morlu::platform::parse_tape(text, error);
    if (!actions) {
        std::fprintf(stderr, "morlu-headless: %s: %s\n", argv[arg], error.c_str());
        return 2;
    }
    return morlu::run_headless(std::move(*actions), screen).status;
}
