#include "platform/win32gui/menu_bar.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/window_parts.h"

namespace {

const MenuEntry kBar[] = {
    {MENU_POPUP, 0, 0, "&File"},
    {MENU_ITEM, MENU_GRAYED, 10, "&New\tCtrl+N"},
    {MENU_RECENT_FILES, 0, 0, nullptr},
    {MENU_SEPARATOR, 0, 0, nullptr},
    {MENU_ITEM, 0, 11, "E&xit"},
    {MENU_END, 0, 0, nullptr},
    {MENU_POPUP, 0, 0, "&View"},
    {MENU_ITEM, MENU_CHECKABLE | MENU_CHECKED, 20, "Always on &Top"},
    {MENU_POPUP, 0, 0, "&More"},
    {MENU_ITEM, 0, 30, "&Deep"},
    {MENU_END, 0, 0, nullptr},
    {MENU_END, 0, 0, nullptr},
};

std::string Text(HMENU bar, int id) {
    char text[1024] = "";
    GetMenuStringA(bar, static_cast<UINT>(id), text, sizeof text, MF_BYCOMMAND);
    return text;
}

TEST(MenuBarTest, BuildsTheMenusWithTheirStatesAndInsertsWhereverTheAnchorIs) {
    HMENU bar = Win32BuildMenuBar(kBar, sizeof kBar / sizeof kBar[0], nullptr);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 0)), 3);  // the recent files' mark shows nothing
    EXPECT_TRUE(GetMenuState(bar, 10, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(bar, 20, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(Text(bar, 10), "&New\tCtrl+N");

    // In a submenu of a submenu, directly after the anchor; a file name's '&' stays one.
    ASSERT_TRUE(Win32MenuInsertAfter(bar, 30, 40, "R&D.klr"));
    HMENU deep = GetSubMenu(GetSubMenu(bar, 1), 1);
    EXPECT_EQ(GetMenuItemID(deep, 1), 40u);
    EXPECT_EQ(Text(bar, 40), "R&&D.klr");
    ASSERT_TRUE(Win32MenuInsertAfter(bar, 10, 41, "first.klr"));
    EXPECT_EQ(GetMenuItemID(GetSubMenu(bar, 0), 1), 41u);

    EXPECT_FALSE(Win32MenuInsertAfter(bar, 99, 42, "no anchor"));
    EXPECT_FALSE(Win32MenuInsertAfter(bar, 10, 40, "taken id"));

    // A name of nothing but ampersands is cut whole pairs short of the buffer.
    const std::string ampersands(2000, '&');
    ASSERT_TRUE(Win32MenuInsertAfter(bar, 11, 43, ampersands.c_str()));
    const std::string shown = Text(bar, 43);
    EXPECT_GT(shown.size(), 500u);
    EXPECT_LT(shown.size(), 600u);
    EXPECT_EQ(shown.size() % 2, 0u);
    DestroyMenu(bar);
}

}  // namespace
