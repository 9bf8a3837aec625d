// What a program sees of a tape: each row runs a tape against a program that
// notes every event it waits for, and checks the events and the actions left
// when it ended.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "driver/tape_run.h"
#include "scratch_folder.h"

namespace morlu {
namespace {

std::string g_seen;  // the events of the current run, as "M x y", "K code", "P", "Q"

// A program that notes events until it is asked to quit; "animate" on its
// command line starts the ticks.
int note_events(uintptr_t instance, uintptr_t previous, const char* command_line, int show) {
    canvas_open(instance, previous, command_line, show);
    canvas_set_logging(0);
    if (std::strcmp(command_line, "animate") == 0) canvas_set_animation(ANIMATE_RUN);
    for (;;) {
        int x = 0, y = 0;
        char key = 0;
        const int kind = canvas_await_event(&x, &y, &key);
        g_seen += g_seen.empty() ? "" : " ";
        if (kind == MORLU_QUIT) break;
        if (kind == MORLU_MOUSE) g_seen += "M" + std::to_string(x) + "," + std::to_string(y);
        if (kind == MORLU_KBD) g_seen += "K" + std::to_string(key);
        if (kind == MORLU_PERIODIC) g_seen += "P";
    }
    g_seen += "Q";
    canvas_close();
    return 0;
}

struct DrivenTape {
    const char* tape;
    const char* command_line;
    const char* seen;
    int unperformed;
};

// Add a row for each new action: the tape, the program's command line, the
// events it sees and how many actions were left when it ended.
const DrivenTape ROWS[] = {
    // Client pixels become logical coordinates around the window's middle.
    {"click 300 250\nclick 0 0\nclick 600 500", "", "M0,0 M-300,250 M300,-250 Q", 0},
    // A click outside the client area lands elsewhere.
    {"click -1 0\nclick 0 501\nclick 601 0", "", "Q", 0},
    // Characters as the program's signed bytes (code page 1252), capitals with Shift.
    {"type aZ 1\xC3\xA9", "", "K97 K90 K32 K49 K-23 Q", 0},
    {"key shift+a\nkeydown shift\nkey b\nkeyup shift\nkey c", "", "K65 K66 K99 Q", 0},
    {"key enter\nkey escape\nkey tab\nkey left", "", "K13 K27 K9 Q", 0},
    // Keys typed in the console reach the program too, also once it is closed.
    {"focus text\ntype a\nclose-text\ntype b", "", "K97 K98 Q", 0},
    // Time passes only on the tape: a tick at most every 100 ms while animating.
    {"wait 350", "animate", "P P P Q", 0},
    {"wait 350", "", "Q", 0},
    {"menu halt\nwait 250", "animate", "P Q", 0},
    // A greyed item or one the menu lacks cannot be chosen.
    {"menu halt\nmenu 99\nmenu nothing\ntype a", "", "K97 Q", 0},
    // Closing the console keeps the program; closing the graphics window ends it.
    {"close-text\ntype a", "", "K97 Q", 0},
    {"close\ntype a\ntype b", "", "Q", 2},
};

TEST(TapeDriver, EachActionReachesTheProgramAsOnADesktop) {
    for (const DrivenTape& row : ROWS) {
        const testing::ScratchFolder here;
        g_seen.clear();
        const HeadlessRun run =
            testing::run_tape_text(row.tape, {.command_line = row.command_line}, note_events);
        EXPECT_EQ(g_seen, row.seen) << "tape: " << row.tape;
        EXPECT_EQ(run.unperformed, row.unperformed) << "tape: " << row.tape;
    }
}

}  // namespace
}  // namespace morlu
