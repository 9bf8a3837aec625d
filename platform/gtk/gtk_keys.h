// Translation of GDK key events into the platform's virtual keys and modifier flags.
#pragma once

#include <gtk/gtk.h>

#include <array>
#include <cstdint>

#include "../window/backend.h"
#include "../window/win_types.h"

namespace morlu::platform::gtk {

// The virtual key for a keyval; VK_OEM_PUNCT for a key the platform has no name for.
// Lower- and upper-case letters give the same key ('A' = 0x41).
uint32_t vk_from_keyval(guint keyval);

// The virtual key of the physical key in `e`, as if no modifier were held, so
// Shift+1 is the key '1' and not the character '!'.
uint32_t vk_from_event(const GdkEventKey& e);

// MOD_SHIFT, MOD_CONTROL, MOD_ALT and MOD_CAPS_LOCK for a GDK modifier state.
uint32_t mods_from_state(guint state);

// The modifier keys, with the MOD_ flag each sets while it is held.
struct ModKey {
    uint32_t vk = 0;
    uint32_t mod = 0;
};
constexpr std::array MOD_KEYS{
    ModKey{VK_SHIFT, MOD_SHIFT},
    ModKey{VK_CONTROL, MOD_CONTROL},
    ModKey{VK_MENU, MOD_ALT},
};

// The MOD_ flag a modifier key sets while held (MOD_CONTROL for VK_CONTROL), or 0.
uint32_t mod_of_vk(uint32_t vk);

}  // namespace morlu::platform::gtk
