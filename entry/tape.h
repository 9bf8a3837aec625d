// The tape of the headless entry (--tape FILE): one user action per line.
//
//   click PX PY          left-button press (and release) at client pixel (PX, PY)
//                        of the graphics window
//   type TEXT            type the characters of TEXT (key down, character, key up
//                        for each); TEXT runs to the end of the line, "#" included
//   key COMBO            press and release a combination: ctrl+a, ctrl+shift+a,
//                        escape, f10, a
//   keydown KEY          one key down, e.g. keydown ctrl
//   keyup KEY            one key up
//   focus graphics|text  which window has the keyboard
//   menu ITEM            choose a Run menu item, as a click on it would: by name or
//                        by number (below)
//   wait MS              let MS milliseconds of virtual time pass
//   snapshot FILE        save what the graphics window's client area shows as PNG
//   snapshot-text FILE   the same for the text window
//   log FILE             write the log's stored lines, oldest first, one per line
//   close                close the graphics window from its title bar
//   close-text           close the text window from its title bar
//   expect pixel PX PY RRGGBB [TOL]
//                        client pixel (PX, PY) of the graphics window has the
//                        colour RRGGBB (six hex digits), each channel within TOL
//                        (0..255, 0 when not given); PX is 0..600, PY 0..500
//   expect log TEXT      TEXT is one of the console's stored lines (what `log`
//                        writes); TEXT runs to the end of the line, "#" included
//
// An expectation that does not hold is reported with the tape's name, the line
// and what was there instead; the run goes on, and ends with EXIT_EXPECTATION
// unless a status that comes first applies (headless_run.h).
//
// A tape is UTF-8 text; a byte-order mark at its start is skipped, and a UTF-16
// tape is refused. Blank lines are skipped; outside `type` and `expect log`, "#" starts a comment
// when it begins the line or follows a blank. Key names: a..z, 0..9, ctrl, shift,
// alt, escape, enter, space, tab, backspace, delete, left, right, up, down,
// f1..f12.
//
// Menu items. A name is an item's text without its "&" and its tab and shortcut,
// in any case, with "-" for each space (halt-animation, play-one-script, quit),
// or the first word of that text when no other item starts with it (halt,
// advance, record, playback, play). A number is the item's command id: 1 Animate,
// 2 Halt animation, 3 Advance one frame, 4 Logging, 5 Record Script, 6 Playback
// Script, 7 Play One Script, 8 Quit. A name or number that no item of the menu
// has, or a greyed item, cannot be chosen: the run says so and goes on.
//
// What `log` writes: the console's stored lines, the last 25. Correction
// messages and script errors are always stored; shape descriptions only while
// logging is on, so while it is off and nothing was corrected the file is empty.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morlu {

struct TapeKey {
    uint32_t vk = 0;
    int32_t codepoint = -1;  // what the key types without modifiers, or -1
    uint32_t modifier = 0;   // MOD_ flag when the key is a modifier
};

struct TapeAction {
    enum class Kind {
        click,
        type,
        key,
        keydown,
        keyup,
        focus,
        menu,
        wait,
        snapshot,
        snapshot_text,
        log,
        close,
        close_text,
        expect_pixel,
        expect_log
    };
    Kind kind = Kind::click;
    int line = 0;
    int32_t x = 0;              // click, expect pixel
    int32_t y = 0;              // click, expect pixel
    uint32_t number = 0;        // menu id, wait milliseconds, expected colour 0xRRGGBB
    uint32_t tolerance = 0;     // expect pixel: per channel, 0..255
    bool text_window = false;   // focus
    std::string text;           // type text, file name, menu item name (lower case), log line
    std::vector<TapeKey> keys;  // key: the modifiers, then the key; keydown/keyup: one key
    std::string source;         // the line as written, without its ends' blanks, for messages
};

// The graphics window's client area, the same for every program: expect pixel
// coordinates outside it are refused when the tape is read.
constexpr int32_t TAPE_CLIENT_WIDTH = 601;
constexpr int32_t TAPE_CLIENT_HEIGHT = 501;

// Parse a whole tape. On the first line it does not understand, returns nothing
// and sets `error` to a message naming the line.
std::optional<std::vector<TapeAction>> parse_tape(std::string_view text, std::string& error);
// The key a name stands for ("ctrl", "f10", "a").
std::optional<TapeKey> parse_key_name(std::string_view name);

}  // namespace morlu
