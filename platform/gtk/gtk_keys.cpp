#include "gtk_keys.h"

#include <array>

namespace morlu::platform::gtk {
namespace {

// Keyvals first..last map to the virtual keys vk, vk + 1, ….
struct KeyRange {
    guint first = 0;
    guint last = 0;
    uint32_t vk = 0;
};

constexpr KeyRange key_one(guint keyval, uint32_t vk) {
    return {keyval, keyval, vk};
}

constexpr std::array KEY_RANGES{
    KeyRange{GDK_KEY_a, GDK_KEY_z, 'A'},
    KeyRange{GDK_KEY_A, GDK_KEY_Z, 'A'},
    KeyRange{GDK_KEY_0, GDK_KEY_9, '0'},
    KeyRange{GDK_KEY_F1, GDK_KEY_F12, VK_F1},
    key_one(GDK_KEY_BackSpace, VK_BACK),
    key_one(GDK_KEY_Tab, VK_TAB),
    key_one(GDK_KEY_ISO_Left_Tab, VK_TAB),
    key_one(GDK_KEY_Return, VK_RETURN),
    key_one(GDK_KEY_KP_Enter, VK_RETURN),
    key_one(GDK_KEY_Shift_L, VK_SHIFT),
    key_one(GDK_KEY_Shift_R, VK_SHIFT),
    key_one(GDK_KEY_Control_L, VK_CONTROL),
    key_one(GDK_KEY_Control_R, VK_CONTROL),
    key_one(GDK_KEY_Alt_L, VK_MENU),
    key_one(GDK_KEY_Alt_R, VK_MENU),
    // Some keymaps report the left Alt key as Meta once Shift is held.
    key_one(GDK_KEY_Meta_L, VK_MENU),
    key_one(GDK_KEY_Meta_R, VK_MENU),
    key_one(GDK_KEY_Caps_Lock, VK_CAPITAL),
    key_one(GDK_KEY_Escape, VK_ESCAPE),
    key_one(GDK_KEY_space, VK_SPACE),
    key_one(GDK_KEY_Left, VK_LEFT),
    key_one(GDK_KEY_Up, VK_UP),
    key_one(GDK_KEY_Right, VK_RIGHT),
    key_one(GDK_KEY_Down, VK_DOWN),
    key_one(GDK_KEY_KP_Left, VK_LEFT),
    key_one(GDK_KEY_KP_Up, VK_UP),
    key_one(GDK_KEY_KP_Right, VK_RIGHT),
    key_one(GDK_KEY_KP_Down, VK_DOWN),
    key_one(GDK_KEY_Delete, VK_DELETE),
    key_one(GDK_KEY_KP_Delete, VK_DELETE),
};

struct ModBit {
    guint state = 0;
    uint32_t mod = 0;
};

constexpr std::array MOD_BITS{
    ModBit{GDK_SHIFT_MASK, MOD_SHIFT},
    ModBit{GDK_CONTROL_MASK, MOD_CONTROL},
    ModBit{GDK_MOD1_MASK, MOD_ALT},
    ModBit{GDK_LOCK_MASK, MOD_CAPS_LOCK},
};

}  // namespace

uint32_t vk_from_keyval(guint keyval) {
    for (const KeyRange& r : KEY_RANGES) {
        if (keyval >= r.first && keyval <= r.last) return r.vk + (keyval - r.first);
    }
    return VK_OEM_PUNCT;
}

uint32_t vk_from_event(const GdkEventKey& e) {
    GdkKeymap* keymap = gdk_keymap_get_for_display(gdk_window_get_display(e.window));
    guint base = 0;
    if (!gdk_keymap_translate_keyboard_state(keymap, e.hardware_keycode, GdkModifierType(0), e.group, &base,
                                             nullptr, nullptr, nullptr)) {
        base = e.keyval;  // a synthetic event whose keycode the keymap does not know
    }
    return vk_from_keyval(base);
}

uint32_t mods_from_state(guint state) {
    uint32_t mods = 0;
    for (const ModBit& b : MOD_BITS) {
        if (state & b.state) mods |= b.mod;
    }
    return mods;
}

uint32_t mod_of_vk(uint32_t vk) {
    for (const ModKey& k : MOD_KEYS) {
        if (k.vk == vk) return k.mod;
    }
    return 0;
}

}  // namespace morlu::platform::gtk
