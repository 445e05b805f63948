// The shapes a window's menus, accelerators and toolbar are described in: the program's
// descriptions fill them, and every back end builds its window from them.
#pragma once
#include <cstdint>

enum MenuEntryKind : uint8_t {
    MENU_POPUP,      // opens a menu (top level) or a submenu; closed by MENU_END
    MENU_END,
    MENU_ITEM,
    MENU_SEPARATOR,
    // Where the recent files (ids 1741-1748) appear while there are any: directly after
    // the item before this mark. The mark itself shows nothing.
    MENU_RECENT_FILES,
};

enum : uint8_t {
    MENU_GRAYED = 1 << 0,     // greyed when the menu is built
    MENU_CHECKABLE = 1 << 1,  // a toggle with a check mark
    MENU_CHECKED = 1 << 2,    // checked when the menu is built
    // Tray menu: the item is greyed while a journal hook is installed, while none is, or
    // while the recording has no event; shown only while the keyboard service is on / off.
    TRAY_GREY_WHILE_HOOKED = 1 << 3,
    TRAY_GREY_UNLESS_HOOKED = 1 << 4,
    TRAY_GREY_WITHOUT_EVENTS = 1 << 5,
    TRAY_WHILE_SERVICE_ON = 1 << 6,
    TRAY_WHILE_SERVICE_OFF = 1 << 7,
};

struct MenuEntry {
    MenuEntryKind kind;
    uint8_t flags;
    uint16_t id;       // 0 for popups, ends, separators
    const char* text;  // mnemonic with '&', accelerator text after '\t'
};

struct Accelerator {
    bool ctrl;
    uint16_t key;  // a virtual-key code
    uint16_t command;
};

struct ToolbarEntry {
    int8_t image;      // index into the 16x16 image strip; -1 for a separator
    uint16_t command;  // 0 for a separator
};
