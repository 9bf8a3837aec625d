#include "gtk_menu.h"

#include "gtk_input.h"

namespace morlu::platform::gtk {
namespace {

// Show the mark the program set. GTK toggles a check item on activation, and
// setting the mark activates the item again, so our handler is blocked meanwhile.
void show_mark(const MenuCheck& c) {
    if (bool(gtk_check_menu_item_get_active(c.item)) == c.checked) return;
    g_signal_handler_block(c.item, c.activate_handler);
    gtk_check_menu_item_set_active(c.item, c.checked ? TRUE : FALSE);
    g_signal_handler_unblock(c.item, c.activate_handler);
}

// Choosing an item only tells the program; the mark stays as the program last set it.
void on_item_activate(GtkMenuItem* item, gpointer data) {
    auto* w = static_cast<NativeWindow*>(data);
    for (const MenuCheck& c : w->checks) {
        if (c.item != GTK_CHECK_MENU_ITEM(item)) continue;
        show_mark(c);
        NativeEvent e;
        e.kind = NativeEvent::Kind::menu_command;
        e.window = w->id;
        e.command = c.command;
        w->events->report(e);
        return;
    }
}

// A menu closing may have swallowed the release of a modifier key.
void on_menu_deactivate(GtkMenuShell*, gpointer data) {
    resync_modifiers(*static_cast<NativeWindow*>(data));
}

// The item's label on the left and its shortcut label right-aligned, shown only:
// the program owns the shortcuts, so nothing is bound to the key.
GtkWidget* make_item_child(const ItemText& text, GtkWidget* item) {
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 24);
    GtkWidget* label = gtk_label_new_with_mnemonic(text.label.c_str());
    gtk_label_set_mnemonic_widget(GTK_LABEL(label), item);
    gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
    gtk_box_pack_start(GTK_BOX(box), label, TRUE, TRUE, 0);
    if (!text.shortcut.empty()) {
        GtkWidget* shortcut = gtk_label_new(text.shortcut.c_str());
        gtk_label_set_xalign(GTK_LABEL(shortcut), 1.0f);
        gtk_style_context_add_class(gtk_widget_get_style_context(shortcut), "dim-label");
        gtk_box_pack_end(GTK_BOX(box), shortcut, FALSE, FALSE, 0);
    }
    return box;
}

// Every item is a check item, since the program may put a mark on any of them later.
GtkWidget* make_item(NativeWindow& w, const MenuEntry& entry) {
    if (entry.kind == MenuEntry::Kind::separator) return gtk_separator_menu_item_new();
    GtkWidget* item = gtk_check_menu_item_new();
    gtk_container_add(GTK_CONTAINER(item), make_item_child(split_item_text(entry.text), item));
    gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(item), entry.checked ? TRUE : FALSE);
    gtk_widget_set_sensitive(item, entry.grayed ? FALSE : TRUE);
    connect_signal(w, w.menu_connections, item, "activate", G_CALLBACK(on_item_activate));
    w.checks.push_back(
        {GTK_CHECK_MENU_ITEM(item), w.menu_connections.back().handler, entry.id, entry.checked});
    return item;
}

// Nothing is drawn beside an item without a check mark, as on the platform this
// runtime was written for; GTK themes would draw an empty box there.
constexpr char MENU_CLASS[] = "morlu-menu";
constexpr char UNCHECKED_STYLE[] =
    "menu.morlu-menu menuitem check:not(:checked) {"
    " border-color: transparent; background: none; box-shadow: none; -gtk-icon-source: none; }";

void add_menu_style(GtkWidget* menu) {
    gtk_style_context_add_class(gtk_widget_get_style_context(menu), MENU_CLASS);
    GdkScreen* screen = gtk_widget_get_screen(menu);
    if (g_object_get_data(G_OBJECT(screen), MENU_CLASS)) return;
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, UNCHECKED_STYLE, -1, nullptr);
    gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    // The screen keeps the provider for as long as the program runs.
    g_object_set_data_full(G_OBJECT(screen), MENU_CLASS, provider, g_object_unref);
}

GtkWidget* make_popup(NativeWindow& w, const MenuPopup& popup) {
    GtkWidget* title = gtk_menu_item_new_with_mnemonic(split_item_text(popup.title).label.c_str());
    GtkWidget* menu = gtk_menu_new();
    add_menu_style(menu);
    for (const MenuEntry& entry : popup.entries)
        gtk_menu_shell_append(GTK_MENU_SHELL(menu), make_item(w, entry));
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(title), menu);
    return title;
}

}  // namespace

ItemText split_item_text(std::string_view text) {
    ItemText out;
    const size_t tab = text.find('\t');
    if (tab != std::string_view::npos) out.shortcut = text.substr(tab + 1);
    const std::string_view label = text.substr(0, tab);
    for (size_t i = 0; i < label.size(); ++i) {
        const bool doubled = i + 1 < label.size() && label[i + 1] == label[i];
        if (label[i] == '_') {
            out.label += "__";  // GTK would take a lone underline for a mnemonic mark
        } else if (label[i] != '&') {
            out.label += label[i];
        } else if (doubled) {
            out.label += '&';
            ++i;
        } else if (i + 1 < label.size()) {
            out.label += '_';
        }
    }
    return out;
}

void install_menu_bar(NativeWindow& w, const MenuBar& bar) {
    remove_menu_bar(w);
    w.menu_bar = gtk_menu_bar_new();
    for (const MenuPopup& popup : bar.popups) {
        gtk_menu_shell_append(GTK_MENU_SHELL(w.menu_bar), make_popup(w, popup));
    }
    connect_signal(w, w.menu_connections, w.menu_bar, "deactivate", G_CALLBACK(on_menu_deactivate));
    gtk_box_pack_start(GTK_BOX(w.box), w.menu_bar, FALSE, FALSE, 0);
    gtk_box_reorder_child(GTK_BOX(w.box), w.menu_bar, 0);
    gtk_widget_show_all(w.menu_bar);
}

void remove_menu_bar(NativeWindow& w) {
    if (!w.menu_bar) return;
    disconnect_all(w.menu_connections);
    w.checks.clear();
    gtk_widget_destroy(w.menu_bar);
    w.menu_bar = nullptr;
}

void set_check(NativeWindow& w, uint32_t command, bool checked) {
    for (MenuCheck& c : w.checks) {
        if (c.command != command) continue;
        c.checked = checked;
        show_mark(c);
    }
}

}  // namespace morlu::platform::gtk
