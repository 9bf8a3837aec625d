#include "tape_driver.h"

#include <cstdio>

#include "platform/headless/png_writer.h"
#include "platform/window/platform.h"

namespace morlu {

using namespace platform;

namespace {

// Decode one UTF-8 character; a malformed byte stands for itself (Latin-1).
char32_t next_codepoint(const std::string& s, size_t& i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b0 = byte(i);
    int extra = b0 >= 0xF0 && b0 < 0xF8 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : 0;
    if (i + static_cast<size_t>(extra) >= s.size() + (extra ? 0 : 1)) extra = 0;
    char32_t cp = extra ? (b0 & (0x3F >> extra)) : b0;
    for (int k = 1; k <= extra; ++k) {
        if ((byte(i + static_cast<size_t>(k)) & 0xC0) != 0x80) {
            extra = 0;
            cp = b0;
            break;
        }
        cp = (cp << 6) | (byte(i + static_cast<size_t>(k)) & 0x3F);
    }
    i += static_cast<size_t>(extra) + 1;
    return cp;
}

std::string hex_colour(uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", rgb & 0xFFFFFFu);
    return text;
}

// Whether each of the three channels of `a` is within `tolerance` of `b`'s.
bool channels_within(uint32_t a, uint32_t b, uint32_t tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (static_cast<uint32_t>(d < 0 ? -d : d) > tolerance) return false;
    }
    return true;
}

// The key that types a character on a plain keyboard.
TapeKey key_for(char32_t cp) {
    if (cp >= 'a' && cp <= 'z') return {static_cast<uint32_t>(cp - 'a' + 'A'), static_cast<int32_t>(cp), 0};
    if (cp >= 'A' && cp <= 'Z') return {static_cast<uint32_t>(cp), static_cast<int32_t>(cp), MOD_SHIFT};
    if (cp >= '0' && cp <= '9') return {static_cast<uint32_t>(cp), static_cast<int32_t>(cp), 0};
    if (cp == ' ') return {VK_SPACE, ' ', 0};
    return {VK_OEM_PUNCT, static_cast<int32_t>(cp), 0};
}

}  // namespace

TapeDriver::TapeDriver(HeadlessBackend& backend, std::vector<TapeAction> actions, Setup setup)
    : backend_(backend), actions_(std::move(actions)), setup_(std::move(setup)) {
}

bool TapeDriver::step() {
    if (next_ < actions_.size()) {
        const TapeAction& a = actions_[next_++];
        line_ = a.line;
        perform(a);
        return true;
    }
    if (closed_at_end_) return false;
    closed_at_end_ = true;
    close(setup_.graphics_title);
    return true;
}

int TapeDriver::report_unperformed() const {
    const int left = static_cast<int>(actions_.size() - next_);
    if (left > 0) {
        std::fprintf(stderr, "%s: tape line %d: the program had ended; %d action%s not performed\n",
                     setup_.program.c_str(), actions_[next_].line, left, left == 1 ? " was" : "s were");
    }
    return left;
}

void TapeDriver::perform(const TapeAction& a) {
    using Kind = TapeAction::Kind;
    switch (a.kind) {
        case Kind::click:
            click(a.x, a.y);
            break;
        case Kind::type:
            type_text(a.text);
            break;
        case Kind::key:
            press_combo(a.keys);
            break;
        case Kind::keydown:
            press(a.keys[0], a.keys[0].codepoint, true);
            break;
        case Kind::keyup:
            press(a.keys[0], -1, false);
            break;
        case Kind::focus:
            text_focus_ = a.text_window;
            break;
        case Kind::menu:
            choose_menu(a);
            break;
        case Kind::wait:
            backend_.let_time_pass(Millis{a.number});
            break;
        case Kind::snapshot:
            snapshot(setup_.graphics_title, a.text);
            break;
        case Kind::snapshot_text:
            snapshot(setup_.text_title, a.text);
            break;
        case Kind::log:
            write_log(a.text);
            break;
        case Kind::close:
            close(setup_.graphics_title);
            break;
        case Kind::close_text:
            close(setup_.text_title);
            break;
        case Kind::expect_pixel:
            expect_pixel(a);
            break;
        case Kind::expect_log:
            expect_log(a);
            break;
    }
}

void TapeDriver::click(int32_t x, int32_t y) {
    const auto graphics = backend_.find(setup_.graphics_title);
    const HeadlessBackend::Shown* shown = graphics ? backend_.shown(*graphics) : nullptr;
    if (!shown) return warn("cannot click: the graphics window is closed");
    // A press outside the client area lands on something else, as on a desktop.
    const Size client = shown->pixels.size();
    if (x < 0 || y < 0 || x >= client.w || y >= client.h)
        return warn("the click is outside the graphics window's client area");
    backend_.inject(
        {.kind = NativeEvent::Kind::mouse_down, .window = *graphics, .x = x, .y = y, .mods = held_mods_});
    text_focus_ = false;  // a click brings the graphics window to the front
}

WindowId TapeDriver::keyboard_window() const {
    const auto text = backend_.find(setup_.text_title);
    if (text_focus_ && text) return *text;
    return backend_.find(setup_.graphics_title).value_or(0);
}

void TapeDriver::press(const TapeKey& key, int32_t codepoint, bool down) {
    const uint32_t mods = held_mods_;
    if (key.modifier) held_mods_ = down ? (held_mods_ | key.modifier) : (held_mods_ & ~key.modifier);
    const auto kind = down ? NativeEvent::Kind::key_down : NativeEvent::Kind::key_up;
    backend_.inject(
        {.kind = kind, .window = keyboard_window(), .vk = key.vk, .codepoint = codepoint, .mods = mods});
}

void TapeDriver::type_text(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const TapeKey key = key_for(next_codepoint(text, i));
        const uint32_t saved = held_mods_;
        held_mods_ |= key.modifier;  // Shift for capitals, without a Shift key message
        press({key.vk, key.codepoint, 0}, key.codepoint, true);
        press({key.vk, key.codepoint, 0}, -1, false);
        held_mods_ = saved;
    }
}

void TapeDriver::press_combo(const std::vector<TapeKey>& keys) {
    const TapeKey& last = keys.back();
    for (size_t i = 0; i + 1 < keys.size(); ++i) press(keys[i], -1, true);
    int32_t cp = last.codepoint;
    if ((held_mods_ & MOD_SHIFT) && cp >= 'a' && cp <= 'z') cp -= 'a' - 'A';
    press(last, cp, true);
    press(last, -1, false);
    for (size_t i = keys.size() - 1; i-- > 0;) press(keys[i], -1, false);
}

void TapeDriver::snapshot(const std::string& title, const std::string& file) {
    const auto id = backend_.find(title);
    const HeadlessBackend::Shown* shown = id ? backend_.shown(*id) : nullptr;
    std::string error;
    if (!shown) return note(line_, "cannot snapshot \"" + title + "\": the window is closed");
    if (!write_png(file, shown->pixels, error)) note(line_, error);
}

// Lines end in "\n" on every system, so both editions write the same file.
void TapeDriver::write_log(const std::string& file) {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    bool written = out != nullptr;
    for (const std::string& line : setup_.log_lines ? setup_.log_lines() : std::vector<std::string>{})
        written = written && std::fwrite(line.data(), 1, line.size(), out) == line.size() &&
                  std::fputc('\n', out) != EOF;
    if (out && std::fclose(out) != 0) written = false;
    if (!written) note(line_, "cannot write " + file);
}

void TapeDriver::close(const std::string& title) {
    if (const auto id = backend_.find(title))
        backend_.inject({.kind = NativeEvent::Kind::close, .window = *id});
}

// An item by name is looked up in the menu the program built, as a user reads it.
void TapeDriver::choose_menu(const TapeAction& a) {
    const auto graphics = backend_.find(setup_.graphics_title);
    const Hwnd hwnd{graphics.value_or(0)};
    const std::optional<uint32_t> id = a.text.empty() ? a.number : find_menu_item(hwnd, a.text);
    // Greyed items and items the menu lacks cannot be clicked: nothing happens, as on screen.
    if (!graphics || !id || !menu_item_selectable(hwnd, *id)) {
        const std::string item = a.text.empty() ? std::to_string(a.number) : "\"" + a.text + "\"";
        return warn("no menu item " + item + " can be chosen");
    }
    backend_.inject({.kind = NativeEvent::Kind::menu_command, .window = *graphics, .command = *id});
}

// The pixel is read from what the window shows once the program waits, as a
// snapshot taken at this line would show it.
void TapeDriver::expect_pixel(const TapeAction& a) {
    const auto graphics = backend_.find(setup_.graphics_title);
    const HeadlessBackend::Shown* shown = graphics ? backend_.shown(*graphics) : nullptr;
    if (!shown) return check(a, "the graphics window is closed");
    const Size client = shown->pixels.size();
    if (a.x >= client.w || a.y >= client.h)
        return check(
            a, "the client area is only " + std::to_string(client.w) + " x " + std::to_string(client.h));
    const uint32_t pixel = shown->pixels.at(a.x, a.y) & 0xFFFFFFu;
    check(a, channels_within(pixel, a.number, a.tolerance) ? "" : "the pixel is " + hex_colour(pixel));
}

void TapeDriver::expect_log(const TapeAction& a) {
    const std::vector<std::string> lines = setup_.log_lines ? setup_.log_lines() : std::vector<std::string>{};
    for (const std::string& line : lines)
        if (line == a.text) return check(a, "");
    if (lines.empty()) return check(a, "the console holds no lines");
    check(a, "none of the console's " + std::to_string(lines.size()) + " lines is that; the last is \"" +
                 lines.back() + "\"");
}

// Reported as compilers report, TAPE:LINE first, so that an editor can go there.
void TapeDriver::check(const TapeAction& a, const std::string& failure) {
    ++expectations_;
    if (failure.empty()) return;
    ++expectations_failed_;
    std::fprintf(stderr, "%s: %s:%d: %s: %s\n", setup_.program.c_str(), setup_.tape.c_str(), a.line,
                 a.source.c_str(), failure.c_str());
}

void TapeDriver::note(int line, const std::string& message) {
    std::fprintf(stderr, "%s: tape line %d: %s\n", setup_.program.c_str(), line, message.c_str());
    ++failures_;
}

void TapeDriver::warn(const std::string& message) const {
    std::fprintf(stderr, "%s: tape line %d: %s (nothing happens)\n", setup_.program.c_str(), line_,
                 message.c_str());
}

}  // namespace morlu
