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
//   menu ID              choose the menu item with command id ID, as a click would
//   wait MS              let MS milliseconds of virtual time pass
//   snapshot FILE        save what the graphics window's client area shows as PNG
//   snapshot-text FILE   the same for the text window
//   log FILE             write the log's stored lines, oldest first, one per line
//   close                close the graphics window from its title bar
//   close-text           close the text window from its title bar
//
// Blank lines are skipped; outside `type`, "#" starts a comment when it begins
// the line or follows a blank. Key names: a..z, 0..9, ctrl, shift, alt, escape,
// enter, space, tab, backspace, delete, left, right, up, down, f1..f12.
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
        close_text
    };
    Kind kind = Kind::click;
    int line = 0;
    int32_t x = 0;              // click
    int32_t y = 0;              // click
    uint32_t number = 0;        // menu id, wait milliseconds
    bool text_window = false;   // focus
    std::string text;           // type text, file name
    std::vector<TapeKey> keys;  // key: the modifiers, then the key; keydown/keyup: one key
};

// Parse a whole tape. On the first line it does not understand, returns nothing
// and sets `error` to a message naming the line.
std::optional<std::vector<TapeAction>> parse_tape(std::string_view text, std::string& error);
// The key a name stands for ("ctrl", "f10", "a").
std::optional<TapeKey> parse_key_name(std::string_view name);

}  // namespace morlu
