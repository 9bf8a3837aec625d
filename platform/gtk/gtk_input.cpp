#include "gtk_input.h"

#include <cmath>

#include "gtk_keys.h"

namespace morlu::platform::gtk {
namespace {

void report(NativeWindow& w, NativeEvent e) {
    e.window = w.id;
    w.events->report(e);
}

// Alt combinations are the menu's mnemonics and F10 opens the menu bar, as on the
// platform this runtime was written for; GTK does both when it sees the key.
bool belongs_to_menu(const GdkEventKey& e) {
    return (e.state & GDK_MOD1_MASK) != 0 || e.keyval == GDK_KEY_F10;
}

// The modifiers held once this key event has happened: GDK's state is the one
// before the event, so a Ctrl press would not yet show Ctrl.
uint32_t mods_after(const GdkEventKey& e, uint32_t vk) {
    const uint32_t mods = mods_from_state(e.state);
    const uint32_t own = mod_of_vk(vk);
    return e.type == GDK_KEY_PRESS ? mods | own : mods & ~own;
}

void report_key(NativeWindow& w, const GdkEventKey& e) {
    const bool press = e.type == GDK_KEY_PRESS;
    NativeEvent out;
    out.kind = press ? NativeEvent::Kind::key_down : NativeEvent::Kind::key_up;
    out.vk = vk_from_event(e);
    const gunichar c = gdk_keyval_to_unicode(e.keyval);
    out.codepoint = c == 0 ? -1 : static_cast<int32_t>(c);
    out.mods = mods_after(e, out.vk);
    const uint32_t own = mod_of_vk(out.vk);
    w.events->held_mods = press ? w.events->held_mods | own : w.events->held_mods & ~own;
    report(w, out);
}

gboolean on_key(GtkWidget*, GdkEventKey* e, gpointer data) {
    if (e->type == GDK_KEY_PRESS && belongs_to_menu(*e)) return FALSE;
    report_key(*static_cast<NativeWindow*>(data), *e);
    return TRUE;
}

// Only single presses of the left button: GTK's extra 2BUTTON and 3BUTTON events
// would turn a double click into three presses.
gboolean on_button(GtkWidget*, GdkEventButton* e, gpointer data) {
    if (e->type != GDK_BUTTON_PRESS || e->button != GDK_BUTTON_PRIMARY) return TRUE;
    NativeEvent out;
    out.kind = NativeEvent::Kind::mouse_down;
    out.x = static_cast<int32_t>(std::floor(e->x));
    out.y = static_cast<int32_t>(std::floor(e->y));
    out.mods = mods_from_state(e->state);
    report(*static_cast<NativeWindow*>(data), out);
    return TRUE;
}

// The title bar's close button asks; the program decides and destroys the window itself.
gboolean on_delete(GtkWidget*, GdkEvent*, gpointer data) {
    NativeEvent out;
    out.kind = NativeEvent::Kind::close;
    report(*static_cast<NativeWindow*>(data), out);
    return TRUE;
}

gboolean on_focus_in(GtkWidget*, GdkEventFocus*, gpointer data) {
    resync_modifiers(*static_cast<NativeWindow*>(data));
    return FALSE;
}

}  // namespace

void connect_input(NativeWindow& w) {
    // Keys go to the toplevel, whichever widget inside has the focus.
    connect_signal(w, w.connections, w.window, "key-press-event", G_CALLBACK(on_key));
    connect_signal(w, w.connections, w.window, "key-release-event", G_CALLBACK(on_key));
    connect_signal(w, w.connections, w.window, "delete-event", G_CALLBACK(on_delete));
    connect_signal(w, w.connections, w.window, "focus-in-event", G_CALLBACK(on_focus_in));
    connect_signal(w, w.connections, w.area, "button-press-event", G_CALLBACK(on_button));
}

void resync_modifiers(NativeWindow& w) {
    GdkKeymap* keymap = gdk_keymap_get_for_display(gtk_widget_get_display(w.window));
    const uint32_t now = mods_from_state(gdk_keymap_get_modifier_state(keymap));
    for (const ModKey& k : MOD_KEYS) {
        if (!(w.events->held_mods & k.mod) || (now & k.mod)) continue;
        NativeEvent out;
        out.kind = NativeEvent::Kind::key_up;
        out.vk = k.vk;
        out.mods = now;
        report(w, out);
        w.events->held_mods &= ~k.mod;
    }
}

}  // namespace morlu::platform::gtk
