// The Run menu, its commands and their Ctrl shortcuts.
#include <array>

#include "runtime_state.h"

using namespace morlu::platform;

namespace {

struct RunMenuEntry {
    uint32_t flags;
    uint32_t id;
    const char* text;
};

// Top to bottom. The last four lines carry information only, true of any program
// built with morlu: what it is, its editions, and where its documentation is.
constexpr std::array<RunMenuEntry, 16> RUN_MENU = {{
    {MF_STRING, CMD_ANIMATE, "&Animate\tCtrl+A"},
    {MF_STRING, CMD_HALT, "&Halt animation\tCtrl+H"},
    {MF_STRING, CMD_ADVANCE_FRAME, "Advance one &frame\tCtrl+F"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING | MF_CHECKED, CMD_LOGGING, "&Logging\tCtrl+L"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING, CMD_RECORD, "&Record Script\tCtrl+R"},
    {MF_STRING, CMD_PLAYBACK, "&Playback Script\tCtrl+P"},
    {MF_STRING, CMD_PLAY_ONE, "Play &One Script\tCtrl+O"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING, CMD_QUIT, "&Quit\tCtrl+Q"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING | MF_GRAYED, CMD_INFO, "morlu: a graphics runtime for event-driven programs"},
    {MF_STRING | MF_GRAYED, CMD_INFO, "MAC: no edition yet; morlu runs on Linux and on Windows"},
    {MF_STRING | MF_GRAYED, CMD_INFO, "WINDOWS: a native edition; README.txt in its zip says how to build"},
    {MF_STRING | MF_GRAYED, CMD_INFO, "UPDATES: canvas.h and docs/first-program.md in morlu's folder"},
}};

// The command each Ctrl+letter runs.
constexpr std::array<std::pair<char, uint32_t>, 8> SHORTCUTS = {{
    {'A', CMD_ANIMATE},
    {'H', CMD_HALT},
    {'F', CMD_ADVANCE_FRAME},
    {'L', CMD_LOGGING},
    {'R', CMD_RECORD},
    {'P', CMD_PLAYBACK},
    {'O', CMD_PLAY_ONE},
    {'Q', CMD_QUIT},
}};

void toggle_logging() {
    auto& log = runtime.log;
    log.logging = log.logging ? 0 : 1;
    check_menu_item(runtime.menu.run_menu, CMD_LOGGING, log.logging ? MF_CHECKED : MF_UNCHECKED);
}

}  // namespace

void build_run_menu(Hwnd hwnd) {
    const Hmenu bar = create_menu();
    runtime.menu.run_menu = create_popup_menu();
    for (const RunMenuEntry& e : RUN_MENU) append_menu(runtime.menu.run_menu, e.flags, e.id, e.text);
    append_menu(bar, MF_POPUP, static_cast<uintptr_t>(runtime.menu.run_menu), "&Run");
    set_menu(hwnd, bar);
    draw_menu_bar(hwnd);
}

void on_key_down(WParam wparam) {
    if (wparam == VK_CONTROL) {
        runtime.menu.ctrl_down = 1;
        return;
    }
    if (runtime.menu.ctrl_down != 1) return;
    for (const auto& [letter, command] : SHORTCUTS)
        if (wparam == static_cast<WParam>(letter)) on_command(command);
}

void on_key_up(WParam wparam) {
    if (wparam == VK_CONTROL) runtime.menu.ctrl_down = 0;
}

void on_command(WParam wparam) {
    auto& e = runtime.events;
    switch (wparam) {
        case CMD_ANIMATE:
            e.running = 1;
            break;
        case CMD_HALT:
            e.running = 0;
            break;
        case CMD_ADVANCE_FRAME:
            e.running = 0;
            e.single_step = 1;
            break;
        case CMD_LOGGING:
            toggle_logging();
            break;
        case CMD_RECORD:
            script_toggle_recording();
            break;
        case CMD_PLAYBACK:
            script_toggle_playback();
            break;
        case CMD_PLAY_ONE:
            script_play_one();
            break;
        case CMD_QUIT:
            post_quit_message(0);
            break;
        default:
            break;
    }
}
