// The native menu bar: built from the platform's menu model, reporting choices as
// menu_command events, with check marks that only the program changes.
#pragma once

#include <string>
#include <string_view>

#include "gtk_window.h"

namespace morlu::platform::gtk {

// An item text in the platform's form split for GTK: "&Quit\tCtrl+Q" gives the
// label "_Quit" (underline marks the mnemonic, "&&" is a literal "&", "_" is
// doubled) and the shortcut label "Ctrl+Q".
struct ItemText {
    std::string label;
    std::string shortcut;
};
ItemText split_item_text(std::string_view text);

// Build `bar` natively and put it above the client area, replacing any bar before.
void install_menu_bar(NativeWindow& w, const MenuBar& bar);

// Take the menu bar away, cutting its handlers first.
void remove_menu_bar(NativeWindow& w);

// Put on or take off the check mark of every item with `command`.
void set_check(NativeWindow& w, uint32_t command, bool checked);

}  // namespace morlu::platform::gtk
