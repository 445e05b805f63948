// The menus of the main window as data: the menu bar and the tray menu, in order. Every
// back end (and the test fakes) builds its menus from these tables.
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

extern const MenuEntry kMenuBar[];
extern const int kMenuBarCount;
extern const MenuEntry kTrayMenu[];
extern const int kTrayMenuCount;

struct Accelerator {
    bool ctrl;
    uint16_t key;  // a virtual-key code
    uint16_t command;
};
extern const Accelerator kAccelerators[];
extern const int kAcceleratorCount;

// The entry of the menu bar with this command id, or nullptr.
const MenuEntry* FindMenuEntry(int id);
