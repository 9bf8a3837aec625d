// The tape's lines and key names, each case a row: a line and what it reads as,
// or a line that is refused with its number.
#include <gtest/gtest.h>

#include <string>

#include "platform/window/backend.h"
#include "tape.h"

namespace morlu {
namespace {

using platform::MOD_CONTROL;
using platform::MOD_SHIFT;

std::string describe(const TapeKey& k) {
    return std::to_string(k.vk) + "/" + std::to_string(k.codepoint) + (k.modifier ? "/mod" : "");
}

// One action as a short text: its kind's word and the fields it sets.
std::string describe(const TapeAction& a) {
    using Kind = TapeAction::Kind;
    static constexpr const char* WORDS[] = {"click", "type",  "key",        "keydown",      "keyup",
                                            "focus", "menu",  "wait",       "snapshot",     "snapshot-text",
                                            "log",   "close", "close-text", "expect pixel", "expect log"};
    std::string out = WORDS[static_cast<int>(a.kind)];
    if (a.kind == Kind::click || a.kind == Kind::expect_pixel)
        out += " " + std::to_string(a.x) + "," + std::to_string(a.y);
    if (a.kind == Kind::focus) out += a.text_window ? " text" : " graphics";
    if (a.number || a.kind == Kind::wait) out += " #" + std::to_string(a.number);
    if (a.tolerance) out += " ~" + std::to_string(a.tolerance);
    for (const TapeKey& k : a.keys) out += " " + describe(k);
    return a.text.empty() ? out : out + " [" + a.text + "]";
}

// The whole tape as one description per action, with its line number.
std::string read(const std::string& tape) {
    std::string error;
    const auto actions = parse_tape(tape, error);
    if (!actions) return "error: " + error;
    std::string out;
    for (const TapeAction& a : *actions)
        out += (out.empty() ? "" : "; ") + std::to_string(a.line) + " " + describe(a);
    return out;
}

struct TapeReading {
    const char* tape;
    const char* reads_as;
};

// Add a row for each new kind of line: the tape and what the parser makes of it.
const TapeReading ACCEPTED[] = {
    {"click 10 20", "1 click 10,20"},
    {"click -5 2147483647", "1 click -5,2147483647"},
    {"  click\t1 2  # where the button is", "1 click 1,2"},
    {"type ab # not a comment", "1 type [ab # not a comment]"},
    {"type  two spaces", "1 type [ two spaces]"},
    {"key a", "1 key 65/97"},
    {"key ctrl+shift+a", "1 key 17/-1/mod 16/-1/mod 65/97"},
    {"key +", "1 key 186/43"},
    {"key ctrl++", "1 key 17/-1/mod 186/43"},
    {"keydown ctrl\nkeyup ctrl", "1 keydown 17/-1/mod; 2 keyup 17/-1/mod"},
    {"focus text\nfocus graphics", "1 focus text; 2 focus graphics"},
    {"menu Halt-&Animation", "1 menu [halt-animation]"},
    {"menu 3", "1 menu #3"},
    {"wait 0\nwait 4294967295", "1 wait #0; 2 wait #4294967295"},
    {"snapshot a#b.png\nsnapshot-text t.png\nlog l.txt",
     "1 snapshot [a#b.png]; 2 snapshot-text [t.png]; 3 log [l.txt]"},
    {"close\nclose-text", "1 close; 2 close-text"},
    // Blank lines, comments and carriage returns are skipped but counted.
    {"\n# a comment\n   \nclick 1 1\r\n\r\nwait 5", "4 click 1,1; 6 wait #5"},
    {"\xEF\xBB\xBF"
     "wait 1",
     "1 wait #1"},
    {"", ""},
    {"expect pixel 0 500 ff8000", "1 expect pixel 0,500 #16744448"},
    {"expect pixel 600 0 0A0B0C 8", "1 expect pixel 600,0 #658188 ~8"},
    {"expect log Circle #1 # not a comment", "1 expect log [Circle #1 # not a comment]"},
};

TEST(Tape, EachKindOfLineReadsAsItsAction) {
    for (const TapeReading& row : ACCEPTED) EXPECT_EQ(read(row.tape), row.reads_as) << "tape: " << row.tape;
}

// Lines that are refused, with the number of the first bad line.
const TapeReading REFUSED[] = {
    {"Click 1 2", "1"},
    {"click 1", "1"},
    {"click 1 2 3", "1"},
    {"click 1e3 2", "1"},
    {"click 1 2#x", "1"},
    {"click 99999999999 1", "1"},
    {"wait -1", "1"},
    {"wait", "1"},
    {"type", "1"},
    {"key", "1"},
    {"key a+ctrl", "1"},
    {"key a+b", "1"},
    {"key ctrl+", "1"},
    {"key f13", "1"},
    {"keydown ctrl+a", "1"},
    {"focus desktop", "1"},
    {"menu +3", "1"},
    {"menu 1 2", "1"},
    {"snapshot", "1"},
    {"snapshot a b", "1"},
    {"close now", "1"},
    {"wait 1\n\njump 3", "3"},
    {"expect pixel 601 0 000000", "1"},
    {"expect pixel 0 0 12345", "1"},
    {"expect pixel 0 0 000000 256", "1"},
    {"expect colour 0 0 000000", "1"},
};

TEST(Tape, ABadLineIsRefusedByItsNumber) {
    for (const TapeReading& row : REFUSED) {
        std::string error;
        EXPECT_FALSE(parse_tape(row.tape, error)) << "tape: " << row.tape;
        EXPECT_EQ(error.rfind("tape line " + std::string(row.reads_as) + " not understood", 0), 0u)
            << "tape: " << row.tape << "\nerror: " << error;
    }
}

TEST(Tape, AUtf16TapeIsRefusedWithTheFix) {
    std::string error;
    EXPECT_FALSE(parse_tape(std::string("\xFF\xFEw\0a\0i\0t\0", 10), error));
    EXPECT_NE(error.find("save it as UTF-8"), std::string::npos) << error;
}

// Key names by their rules: letters and digits type themselves, f1..f12, a few
// names with aliases, any other printable character as punctuation.
TEST(Tape, KeyNames) {
    const std::pair<const char*, const char*> NAMES[] = {
        {"a", "65/97"},         {"z", "90/122"},      {"0", "48/48"},        {"9", "57/57"},
        {"f1", "112/-1"},       {"f12", "123/-1"},    {"ctrl", "17/-1/mod"}, {"control", "17/-1/mod"},
        {"shift", "16/-1/mod"}, {"alt", "18/-1/mod"}, {"esc", "27/27"},      {"escape", "27/27"},
        {"enter", "13/13"},     {"return", "13/13"},  {"space", "32/32"},    {"tab", "9/9"},
        {"backspace", "8/8"},   {"delete", "46/-1"},  {"left", "37/-1"},     {"down", "40/-1"},
        {"/", "186/47"},        {"~", "186/126"},
    };
    for (const auto& [name, key] : NAMES) {
        const auto got = parse_key_name(name);
        EXPECT_EQ(got ? describe(*got) : "none", key) << "key name: " << name;
    }
    EXPECT_EQ(parse_key_name("ctrl")->modifier, MOD_CONTROL);
    EXPECT_EQ(parse_key_name("shift")->modifier, MOD_SHIFT);
    for (const char* bad : {"", "F1", "f0", "f13", "f1x", "ctrlx", "ab", " ", "\x7F", "\xC3\xA9"})
        EXPECT_FALSE(parse_key_name(bad)) << "key name: [" << bad << "]";
}

}  // namespace
}  // namespace morlu
