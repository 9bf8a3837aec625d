// The user's keys and clicks in a native window, as the window layer's events.
// Every key the program may see goes to it, Ctrl shortcuts included; Alt
// combinations and F10 stay with the system, which opens the menu bar with them.
#include "win32_window.h"

#include <windowsx.h>

#include <array>

namespace morlu::platform::win32 {
namespace {

// Keys the window layer knows by name; its virtual keys are the system's own
// numbers. Any other key is VK_OEM_1 (the window layer's VK_OEM_PUNCT), which
// stands for every key without a name there.
constexpr std::array<uint32_t, 14> NAMED_KEYS{
    VK_BACK,   VK_TAB,   VK_RETURN, VK_SHIFT, VK_CONTROL, VK_MENU, VK_CAPITAL,
    VK_ESCAPE, VK_SPACE, VK_LEFT,   VK_UP,    VK_RIGHT,   VK_DOWN, VK_DELETE,
};

struct ModKey {
    int vk = 0;
    uint32_t mod = 0;
};
constexpr std::array MOD_KEYS{
    ModKey{VK_SHIFT, MOD_SHIFT},
    ModKey{VK_CONTROL, MOD_CONTROL},
    ModKey{VK_MENU, MOD_ALT},
};

uint32_t vk_of(WPARAM key) {
    const auto vk = static_cast<uint32_t>(key);
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return vk;
    if (vk >= VK_F1 && vk <= VK_F12) return vk;
    for (const uint32_t named : NAMED_KEYS)
        if (vk == named) return vk;
    return VK_OEM_1;
}

bool held(int vk) {
    return (GetKeyState(vk) & 0x8000) != 0;
}

// The modifiers as the system saw them when this message was made.
uint32_t current_mods() {
    uint32_t mods = 0;
    for (const ModKey& k : MOD_KEYS)
        if (held(k.vk)) mods |= k.mod;
    if (GetKeyState(VK_CAPITAL) & 1) mods |= MOD_CAPS_LOCK;
    return mods;
}

uint32_t mod_of_vk(uint32_t vk) {
    for (const ModKey& k : MOD_KEYS)
        if (static_cast<uint32_t>(k.vk) == vk) return k.mod;
    return 0;
}

// The character this key-down types: the pump translated the key before it was
// dispatched, so its character message, if any, is already queued.
int32_t typed_character(HWND hwnd) {
    MSG m{};
    if (PeekMessageW(&m, hwnd, WM_DEADCHAR, WM_DEADCHAR, PM_REMOVE)) return -1;
    if (!PeekMessageW(&m, hwnd, WM_CHAR, WM_CHAR, PM_REMOVE)) return -1;
    const auto unit = static_cast<int32_t>(m.wParam & 0xFFFF);
    return unit >= 0xD800 && unit <= 0xDFFF ? -1 : unit;  // a half of a pair is no character
}

void report_key(NativeWindow& w, bool press, WPARAM key) {
    NativeEvent e;
    e.kind = press ? NativeEvent::Kind::key_down : NativeEvent::Kind::key_up;
    e.window = w.id;
    e.vk = vk_of(key);
    e.codepoint = press ? typed_character(w.hwnd) : -1;
    e.mods = current_mods();
    const uint32_t own = mod_of_vk(e.vk);
    w.events->held_mods = press ? w.events->held_mods | own : w.events->held_mods & ~own;
    w.events->report(e);
}

}  // namespace

bool handle_input(NativeWindow& w, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
            report_key(w, message == WM_KEYDOWN, wparam);
            return true;
        case WM_CHAR:
            return true;  // taken with its key-down
        case WM_LBUTTONDOWN: {
            NativeEvent e;
            e.kind = NativeEvent::Kind::mouse_down;
            e.window = w.id;
            e.x = GET_X_LPARAM(lparam);
            e.y = GET_Y_LPARAM(lparam);
            e.mods = current_mods();
            w.events->report(e);
            return true;
        }
        default:
            return false;
    }
}

void resync_modifiers(NativeWindow& w) {
    for (const ModKey& k : MOD_KEYS) {
        if (!(w.events->held_mods & k.mod) || held(k.vk)) continue;
        NativeEvent e;
        e.kind = NativeEvent::Kind::key_up;
        e.window = w.id;
        e.vk = static_cast<uint32_t>(k.vk);
        e.mods = current_mods();
        w.events->report(e);
        w.events->held_mods &= ~k.mod;
    }
}

}  // namespace morlu::platform::win32
