// morlu-headless TAPE: the bug program run from a tape, the same as
// `morlu-bugs --tape TAPE`, kept for the scripts and habits that call it.
#include <cstdio>
#include <cstring>
#include <vector>

#include "exit_status.h"
#include "morlu/canvas.h"

namespace {

constexpr const char* USAGE =
    "usage: morlu-headless [--screen WxH] TAPE\n"
    "The same as morlu-bugs --tape TAPE [--screen WxH]: the bug program without a\n"
    "desktop, performing the tape's user actions (morlu-bugs --help lists them).\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        std::fputs(USAGE, stdout);
        return 0;
    }
    std::vector<char*> args{argv[0]};
    int arg = 1;
    if (arg + 1 < argc && !std::strcmp(argv[arg], "--screen")) {
        args.insert(args.end(), {argv[arg], argv[arg + 1]});
        arg += 2;
    }
    if (arg + 1 != argc || argv[arg][0] == '-') {
        std::fputs(USAGE, stderr);
        return morlu::EXIT_USAGE;
    }
    char tape_option[] = "--tape";
    args.insert(args.end(), {tape_option, argv[arg]});
    args.push_back(nullptr);
    return morlu_main(static_cast<int>(args.size()) - 1, args.data(), app_main);
}
