#include <optional>
#include <string_view>

#include "platform_state.h"

namespace morlu::platform {
namespace {

Hmenu add_menu(bool popup) {
    const Hmenu handle{platform_state.next_menu++};
    platform_state.menus[raw(handle)].popup = popup;
    return handle;
}

MenuEntry entry_of(const MenuItem& item) {
    MenuEntry e;
    e.kind = (item.flags & MF_SEPARATOR) ? MenuEntry::Kind::separator : MenuEntry::Kind::item;
    e.id = static_cast<uint32_t>(item.id);
    e.text = item.text;
    e.checked = (item.flags & MF_CHECKED) != 0;
    e.grayed = (item.flags & MF_GRAYED) != 0;
    return e;
}

// The bar as the backend shows it: each popup of the bar with its entries.
MenuBar bar_of(const Menu& menu) {
    MenuBar bar;
    for (const MenuItem& item : menu.items) {
        if (!(item.flags & MF_POPUP)) continue;
        const Menu* popup = find_menu(Hmenu{static_cast<uint32_t>(item.id)});
        MenuPopup shown{item.text, {}};
        if (popup)
            for (const MenuItem& entry : popup->items) shown.entries.push_back(entry_of(entry));
        bar.popups.push_back(std::move(shown));
    }
    return bar;
}

// Every text item (not a separator or a popup) of the menu and its popups, depth first.
template <typename F>
void for_each_text_item(Menu& menu, F&& f, int depth = 0) {
    for (MenuItem& item : menu.items) {
        if (item.flags & MF_POPUP) {
            Menu* popup = find_menu(Hmenu{static_cast<uint32_t>(item.id)});
            if (popup && depth < 8) for_each_text_item(*popup, f, depth + 1);
        } else if (!(item.flags & MF_SEPARATOR)) {
            f(item);
        }
    }
}

// Every item with `id` in the menu and its popups, depth first.
template <typename F>
void for_each_item(Menu& menu, uint32_t id, F&& f) {
    for_each_text_item(menu, [&](MenuItem& item) {
        if (item.id == id) f(item);
    });
}

// An item's text as a name: without the "&" of its mnemonic and the tab and
// shortcut after it, in lower case, with "-" for each space.
std::string name_of(std::string_view text) {
    std::string name;
    for (const char c : text.substr(0, text.find('\t'))) {
        if (c == '&') continue;
        name += c == ' ' ? '-' : c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return name;
}

}  // namespace

Hmenu create_menu() {
    return add_menu(false);
}

Hmenu create_popup_menu() {
    return add_menu(true);
}

int append_menu(Hmenu handle, uint32_t flags, uintptr_t id, const char* text) {
    Menu* menu = find_menu(handle);
    if (!menu) return fail(0, "append_menu: no such menu");
    if ((flags & MF_POPUP) && !find_menu(Hmenu{static_cast<uint32_t>(id)}))
        return fail(0, "append_menu: no such popup");
    menu->items.push_back({flags, (flags & MF_SEPARATOR) ? 0 : id, text ? text : ""});
    return 1;
}

void push_menu_bar(Window& window) {
    const Menu* menu = find_menu(window.menu);
    if (window.native && menu) platform_state.backend->set_menu_bar(raw(window.handle), bar_of(*menu));
}

int set_menu(Hwnd hwnd, Hmenu menu) {
    Window* w = find_window_record(hwnd);
    if (!w || (menu != Hmenu::none && !find_menu(menu))) return fail(0, "set_menu: no such window or menu");
    w->menu = menu;
    update_client_size(*w);
    return 1;
}

int draw_menu_bar(Hwnd hwnd) {
    Window* w = find_window_record(hwnd);
    if (!w) return fail(0, "draw_menu_bar: no such window");
    push_menu_bar(*w);
    return 1;
}

int check_menu_item(Hmenu handle, uint32_t id, uint32_t flags) {
    Menu* menu = find_menu(handle);
    if (!menu) return -1;
    int previous = -1;
    const bool checked = (flags & MF_CHECKED) != 0;
    for_each_item(*menu, id, [&](MenuItem& item) {
        if (previous < 0) previous = static_cast<int>(item.flags & MF_CHECKED);
        item.flags = checked ? (item.flags | MF_CHECKED) : (item.flags & ~MF_CHECKED);
    });
    if (previous < 0) return -1;
    for (auto& [wid, w] : platform_state.windows) {
        const Menu* bar = find_menu(w.menu);
        if (!w.native || !bar) continue;
        // The item may sit in a popup of this window's bar.
        bool here = w.menu == handle;
        for (const MenuItem& item : bar->items)
            here = here || ((item.flags & MF_POPUP) && Hmenu{static_cast<uint32_t>(item.id)} == handle);
        if (here) platform_state.backend->set_menu_check(wid, id, checked);
    }
    return previous;
}

Hmenu get_menu(Hwnd hwnd) {
    const Window* w = find_window_record(hwnd);
    return w ? w->menu : Hmenu::none;
}

bool menu_item_selectable(Hwnd hwnd, uint32_t id) {
    Window* w = find_window_record(hwnd);
    Menu* bar = w ? find_menu(w->menu) : nullptr;
    bool selectable = false;
    if (bar) for_each_item(*bar, id, [&](MenuItem& item) { selectable |= !(item.flags & MF_GRAYED); });
    return selectable;
}

std::optional<uint32_t> find_menu_item(Hwnd hwnd, std::string_view name) {
    Window* w = find_window_record(hwnd);
    Menu* bar = w ? find_menu(w->menu) : nullptr;
    const std::string wanted = name_of(name);
    if (!bar || wanted.empty()) return std::nullopt;
    std::optional<uint32_t> whole, first;
    int sharing_first_word = 0;
    for_each_text_item(*bar, [&](MenuItem& item) {
        const std::string full = name_of(item.text);
        const auto id = static_cast<uint32_t>(item.id);
        if (full == wanted && !whole) whole = id;
        if (std::string_view(full).substr(0, full.find('-')) == wanted) {
            first = id;
            ++sharing_first_word;
        }
    });
    if (whole) return whole;
    if (sharing_first_word == 1) return first;
    return std::nullopt;
}

}  // namespace morlu::platform
