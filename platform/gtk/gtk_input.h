// What the user does in a window, turned into NativeEvents: left-button presses,
// keys, the close button, and focus and menu changes that resynchronise modifiers.
#pragma once

#include "gtk_window.h"

namespace morlu::platform::gtk {

// Connect the window's input handlers. The program consumes every key except
// those that belong to the menu (presses with Alt held, and F10).
void connect_input(NativeWindow& w);

// Report a key_up for each modifier key the program believes is down but the
// keyboard no longer holds: its release may have gone to an open menu.
void resync_modifiers(NativeWindow& w);

}  // namespace morlu::platform::gtk
