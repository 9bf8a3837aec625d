#include "tape.h"

#include <array>
#include <charconv>
#include <utility>

#include "platform/window/backend.h"
#include "platform/window/win_types.h"
#include "text_start.h"

namespace morlu {

using namespace platform;

namespace {

struct NamedKey {
    std::string_view name;
    TapeKey key;
};

constexpr std::array<NamedKey, 16> NAMED_KEYS = {{
    {"ctrl", {VK_CONTROL, -1, MOD_CONTROL}},
    {"control", {VK_CONTROL, -1, MOD_CONTROL}},
    {"shift", {VK_SHIFT, -1, MOD_SHIFT}},
    {"alt", {VK_MENU, -1, MOD_ALT}},
    {"escape", {VK_ESCAPE, 27, 0}},
    {"esc", {VK_ESCAPE, 27, 0}},
    {"enter", {VK_RETURN, 13, 0}},
    {"return", {VK_RETURN, 13, 0}},
    {"space", {VK_SPACE, ' ', 0}},
    {"tab", {VK_TAB, 9, 0}},
    {"backspace", {VK_BACK, 8, 0}},
    {"delete", {VK_DELETE, -1, 0}},
    {"left", {VK_LEFT, -1, 0}},
    {"right", {VK_RIGHT, -1, 0}},
    {"up", {VK_UP, -1, 0}},
    {"down", {VK_DOWN, -1, 0}},
}};

constexpr std::array<std::pair<std::string_view, TapeAction::Kind>, 14> ACTIONS = {{
    {"click", TapeAction::Kind::click},
    {"type", TapeAction::Kind::type},
    {"key", TapeAction::Kind::key},
    {"keydown", TapeAction::Kind::keydown},
    {"keyup", TapeAction::Kind::keyup},
    {"focus", TapeAction::Kind::focus},
    {"menu", TapeAction::Kind::menu},
    {"wait", TapeAction::Kind::wait},
    {"snapshot", TapeAction::Kind::snapshot},
    {"snapshot-text", TapeAction::Kind::snapshot_text},
    {"log", TapeAction::Kind::log},
    {"close", TapeAction::Kind::close},
    {"close-text", TapeAction::Kind::close_text},
    {"expect", TapeAction::Kind::expect_pixel},  // the only `expect` left once `expect log` is taken
}};

// What an `expect` line that was not understood should have been.
std::string expect_usage() {
    return " (expect pixel PX PY RRGGBB [TOL] wants PX 0.." + std::to_string(TAPE_CLIENT_WIDTH - 1) +
           ", PY 0.." + std::to_string(TAPE_CLIENT_HEIGHT - 1) +
           ", six hex digits and TOL 0..255; expect log TEXT wants TEXT)";
}

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view strip_comment(std::string_view s) {
    for (size_t i = 0; i < s.size(); ++i)
        if (s[i] == '#' && (i == 0 || is_blank(s[i - 1]))) return s.substr(0, i);
    return s;
}

std::vector<std::string_view> split_words(std::string_view s) {
    std::vector<std::string_view> words;
    while (!(s = trim(s)).empty()) {
        size_t end = 0;
        while (end < s.size() && !is_blank(s[end])) ++end;
        words.push_back(s.substr(0, end));
        s.remove_prefix(end);
    }
    return words;
}

template <typename T>
bool parse_number(std::string_view s, T& out) {
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size();
}

// A menu item by number (its command id) or by name, resolved when the tape runs
// against the menu the program built. A word that starts like a number must be
// one; any other word is a name, matched in lower case.
bool parse_menu_item(std::string_view word, TapeAction& a) {
    const char c = word[0];
    if ((c >= '0' && c <= '9') || c == '-' || c == '+') return parse_number(word, a.number);
    for (const char ch : word)
        if (ch != '&') a.text += ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
    return !a.text.empty();
}

// RRGGBB: exactly six hex digits.
bool parse_colour(std::string_view s, uint32_t& out) {
    if (s.size() != 6) return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out, 16);
    return ec == std::errc() && end == s.data() + s.size() && s[0] != '+' && s[0] != '-';
}

// expect pixel PX PY RRGGBB [TOL], with the pixel inside the client area.
bool parse_expect_pixel(TapeAction& a, const std::vector<std::string_view>& w) {
    if (w.size() != 5 && w.size() != 6) return false;
    if (w[1] != "pixel" || !parse_number(w[2], a.x) || !parse_number(w[3], a.y)) return false;
    if (a.x < 0 || a.y < 0 || a.x >= TAPE_CLIENT_WIDTH || a.y >= TAPE_CLIENT_HEIGHT) return false;
    if (!parse_colour(w[4], a.number)) return false;
    return w.size() == 5 || (parse_number(w[5], a.tolerance) && a.tolerance <= 255);
}

bool parse_combo(std::string_view combo, std::vector<TapeKey>& keys) {
    while (!combo.empty()) {
        const size_t plus = combo.find('+', 1);  // a leading "+" is the plus key itself
        const auto key = parse_key_name(combo.substr(0, plus));
        if (!key) return false;
        keys.push_back(*key);
        combo = plus == std::string_view::npos ? std::string_view{} : combo.substr(plus + 1);
        if (plus != std::string_view::npos && combo.empty()) return false;
    }
    // Every key but the last must be a modifier. The last may be one too: a
    // modifier pressed alone (Alt opens the menu bar) or with others held.
    for (size_t i = 0; i + 1 < keys.size(); ++i)
        if (!keys[i].modifier) return false;
    return !keys.empty();
}

// The fields of one action from its words; false when they do not fit.
bool parse_fields(TapeAction& a, const std::vector<std::string_view>& w) {
    using Kind = TapeAction::Kind;
    switch (a.kind) {
        case Kind::click:
            return w.size() == 3 && parse_number(w[1], a.x) && parse_number(w[2], a.y);
        case Kind::key:
            return w.size() == 2 && parse_combo(w[1], a.keys);
        case Kind::keydown:
        case Kind::keyup: {
            const auto key = w.size() == 2 ? parse_key_name(w[1]) : std::nullopt;
            if (key) a.keys.push_back(*key);
            return key.has_value();
        }
        case Kind::focus:
            a.text_window = w.size() == 2 && w[1] == "text";
            return w.size() == 2 && (w[1] == "text" || w[1] == "graphics");
        case Kind::menu:
            return w.size() == 2 && parse_menu_item(w[1], a);
        case Kind::wait:
            return w.size() == 2 && parse_number(w[1], a.number);
        case Kind::snapshot:
        case Kind::snapshot_text:
        case Kind::log:
            if (w.size() == 2) a.text = std::string(w[1]);
            return w.size() == 2;
        case Kind::close:
        case Kind::close_text:
            return w.size() == 1;
        case Kind::expect_pixel:
            return parse_expect_pixel(a, w);
        case Kind::type:
        case Kind::expect_log:
            return false;  // handled before the words are split
    }
    return false;
}

// The words of `body` after the first `count` of them, as written.
std::string_view rest_after_words(std::string_view body, int count) {
    for (int i = 0; i < count; ++i) {
        body = trim(body);
        while (!body.empty() && !is_blank(body.front())) body.remove_prefix(1);
    }
    return trim(body);
}

std::optional<TapeAction> parse_line(std::string_view line, int number) {
    TapeAction a;
    a.line = number;
    const std::string_view body = trim(line);
    a.source = std::string(body);
    if (body.starts_with("type ") || body.starts_with("type\t")) {
        a.kind = TapeAction::Kind::type;
        a.text = std::string(body.substr(5));
        return a;
    }
    const auto head = split_words(body);
    if (head.size() >= 2 && head[0] == "expect" && head[1] == "log") {
        a.kind = TapeAction::Kind::expect_log;
        a.text = std::string(rest_after_words(body, 2));
        if (a.text.empty()) return std::nullopt;
        return a;
    }
    const auto words = split_words(strip_comment(line));
    for (const auto& [name, kind] : ACTIONS)
        if (words[0] == name) a.kind = kind;
    if (a.kind == TapeAction::Kind::click && words[0] != "click") return std::nullopt;
    if (!parse_fields(a, words)) return std::nullopt;
    return a;
}

}  // namespace

std::optional<TapeKey> parse_key_name(std::string_view name) {
    for (const NamedKey& k : NAMED_KEYS)
        if (k.name == name) return k.key;
    if (name.size() == 1) {
        const char c = name[0];
        if (c >= 'a' && c <= 'z') return TapeKey{static_cast<uint32_t>(c - 'a' + 'A'), c, 0};
        if (c >= '0' && c <= '9') return TapeKey{static_cast<uint32_t>(c), c, 0};
        if (c > ' ' && c < 127) return TapeKey{VK_OEM_PUNCT, c, 0};
    }
    int f = 0;
    if (name.size() >= 2 && name[0] == 'f' && parse_number(name.substr(1), f) && f >= 1 && f <= 12)
        return TapeKey{VK_F1 + static_cast<uint32_t>(f - 1), -1, 0};
    return std::nullopt;
}

std::optional<std::vector<TapeAction>> parse_tape(std::string_view text, std::string& error) {
    switch (classify_text_start(text)) {
        case TextStart::utf16:
            error = "the tape is UTF-16 text; save it as UTF-8";
            return std::nullopt;
        case TextStart::utf8_mark:
            text.remove_prefix(UTF8_MARK_LENGTH);
            break;
        case TextStart::plain:
            break;
    }
    std::vector<TapeAction> actions;
    int number = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++number;
        if (trim(strip_comment(line)).empty() && !trim(line).starts_with("type")) continue;
        auto action = parse_line(line, number);
        if (!action) {
            error = "tape line " + std::to_string(number) + " not understood: " + std::string(trim(line));
            if (trim(line).starts_with("expect")) error += expect_usage();
            return std::nullopt;
        }
        actions.push_back(std::move(*action));
    }
    return actions;
}

}  // namespace morlu
