#include <gtest/gtest.h>

#include "platform/headless/headless_backend.h"
#include "platform/window/platform.h"

namespace morlu::platform {
namespace {

// Items are found by the names a tape gives them: the whole text, or a first
// word that only one item starts with; a name two items could mean finds none.
TEST(Menus, AnItemIsFoundByItsTextOrByAFirstWordNoOtherItemShares) {
    HeadlessBackend backend;
    platform_start(backend);
    WndClass cls;
    cls.proc = def_window_proc;
    cls.class_name = "Test";
    ASSERT_EQ(register_class(cls), 1);
    const Hwnd hwnd = create_window(0, "Test", "test", WS_CAPTION, 0, 0, 100, 80, Hwnd::none, Hmenu::none,
                                    Hinstance::none, nullptr);
    const Hmenu bar = create_menu(), popup = create_popup_menu();
    append_menu(popup, MF_STRING, 1, "&Halt animation\tCtrl+H");
    append_menu(popup, MF_STRING, 2, "Show &one\tCtrl+1");
    append_menu(popup, MF_SEPARATOR, 0, nullptr);
    append_menu(popup, MF_STRING | MF_GRAYED, 3, "Show all");
    append_menu(bar, MF_POPUP, static_cast<uintptr_t>(popup), "&Run");
    set_menu(hwnd, bar);
    EXPECT_EQ(find_menu_item(hwnd, "halt-animation"), 1u);
    EXPECT_EQ(find_menu_item(hwnd, "Halt"), 1u);
    EXPECT_EQ(find_menu_item(hwnd, "show-one"), 2u);
    EXPECT_EQ(find_menu_item(hwnd, "show-all"), 3u);  // found; whether it can be chosen is another matter
    EXPECT_EQ(find_menu_item(hwnd, "show"), std::nullopt);
    EXPECT_EQ(find_menu_item(hwnd, "animation"), std::nullopt);
    EXPECT_EQ(find_menu_item(hwnd, "run"), std::nullopt);  // a popup's title is no item

    // A check mark: each call returns the state it replaces; an unknown id, -1.
    EXPECT_EQ(check_menu_item(popup, 2, MF_CHECKED), static_cast<int>(MF_UNCHECKED));
    EXPECT_EQ(check_menu_item(popup, 2, MF_CHECKED), static_cast<int>(MF_CHECKED));
    EXPECT_EQ(check_menu_item(popup, 2, MF_UNCHECKED), static_cast<int>(MF_CHECKED));
    EXPECT_EQ(check_menu_item(popup, 9, MF_CHECKED), -1);
    // Only an enabled item of the window's own bar can be chosen.
    EXPECT_TRUE(menu_item_selectable(hwnd, 1));
    EXPECT_FALSE(menu_item_selectable(hwnd, 3));
    EXPECT_FALSE(menu_item_selectable(hwnd, 9));
    platform_stop();
}

}  // namespace
}  // namespace morlu::platform
