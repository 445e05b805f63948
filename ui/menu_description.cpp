#include "ui/menu_description.h"

#include "ui/command_ids.h"

namespace {

const uint8_t VK_F1_KEY = 0x70;

}  // namespace

#define POPUP(text) {MENU_POPUP, 0, 0, text}
#define END {MENU_END, 0, 0, nullptr}
#define SEPARATOR {MENU_SEPARATOR, 0, 0, nullptr}
#define ITEM(id, text) {MENU_ITEM, 0, id, text}
#define ITEM_FLAGS(id, flags, text) {MENU_ITEM, flags, id, text}

const MenuEntry kMenuBar[] = {
    POPUP("&File"),
    ITEM(ID_NEW, "&New\tCtrl+N"),
    ITEM(ID_OPEN, "&Open...\tCtrl+O"),
    ITEM(ID_RELOAD_FILE, "&Reload Current File"),
    ITEM(ID_CLOSE, "&Close"),
    SEPARATOR,
    ITEM(ID_SAVE_AS, "Save &As...\tCtrl+S"),
    SEPARATOR,
    ITEM(ID_RESET_RECENT_FILES, "Reset Recent Files"),
    {MENU_RECENT_FILES, 0, ID_RECENT_FILE_1, nullptr},
    SEPARATOR,
    ITEM(ID_EXIT, "E&xit"),
    END,
    POPUP("&Recorder"),
    ITEM(ID_START_RECORDING, "Start &Recording"),
    ITEM_FLAGS(ID_STOP_RECORDING, MENU_GRAYED, "S&top Recording"),
    SEPARATOR,
    ITEM_FLAGS(ID_PLAY, MENU_GRAYED, "&Playback"),
    SEPARATOR,
    ITEM(ID_NORMAL_PLAY_SETTINGS, "Load &Normal Play Settings"),
    END,
    POPUP("&View"),
    ITEM_FLAGS(ID_ALWAYS_ON_TOP, MENU_CHECKABLE, "Always on &Top"),
    ITEM_FLAGS(ID_RUN_FROM_TRAY, MENU_CHECKABLE, "Run from T&ray"),
    ITEM_FLAGS(ID_SHOW_TABS, MENU_CHECKABLE | MENU_CHECKED, "Show Ta&b Interface"),
    SEPARATOR,
    ITEM(ID_DISPLAY_ACTIONS, "Display Number of &Actions"),
    END,
    POPUP("&Tools"),
    ITEM_FLAGS(ID_AUTO_START, MENU_CHECKABLE, "&Auto-Start Kelmor with Windows"),
    SEPARATOR,
    ITEM(ID_CREATE_EXE, "&Create Executable Program (.EXE)..."),
    SEPARATOR,
    ITEM(ID_EDIT_SCRIPT, "&Edit Script File"),
    ITEM(ID_VIEW_LOG, "&View Log File"),
    SEPARATOR,
    POPUP("&Backup Kelmor Settings"),
    ITEM(ID_BACKUP_ALL, "Backup &All Settings..."),
    SEPARATOR,
    ITEM(ID_BACKUP_BASIC, "Backup &Basic Settings..."),
    ITEM(ID_BACKUP_MAPPINGS, "Backup &Mappings..."),
    ITEM(ID_BACKUP_SHORTTYPES, "Backup &ShortTypes..."),
    END,
    ITEM(ID_ADVANCED_OPTIONS, "Advanced &Options..."),
    END,
    POPUP("&Help"),
    ITEM(ID_HELP_CONTENTS, "&Contents/Index"),
    ITEM(ID_HELP_SCREEN, "Help For This &Screen\tF1"),
    POPUP("Advanced &Help"),
    ITEM(ID_SCRIPT_REFERENCE, "&Script Reference"),
    ITEM(ID_REVISIONS, "&Revision History"),
    SEPARATOR,
    ITEM(ID_FAQ, "Kelmor &FAQ"),
    SEPARATOR,
    ITEM(ID_LEGAL, "&Legal Agreement"),
    END,
    SEPARATOR,
    ITEM(ID_SUPPORT_MAIL, "&Email Tech Support"),
    ITEM(ID_WEB, "Kelmor on the &Web"),
    SEPARATOR,
    ITEM(ID_ABOUT, "&About Kelmor"),
    END,
};
const int kMenuBarCount = sizeof kMenuBar / sizeof kMenuBar[0];

const MenuEntry kTrayMenu[] = {
    ITEM_FLAGS(ID_TRAY_START_RECORDING, TRAY_GREY_WHILE_HOOKED, "Start Recording"),
    ITEM_FLAGS(ID_TRAY_STOP_RECORDING, TRAY_GREY_UNLESS_HOOKED, "Stop Recording"),
    ITEM_FLAGS(ID_TRAY_PLAY, TRAY_GREY_WHILE_HOOKED | TRAY_GREY_WITHOUT_EVENTS, "Play"),
    SEPARATOR,
    ITEM_FLAGS(ID_TRAY_STOP_SERVICE, TRAY_WHILE_SERVICE_ON, "Stop Keyboard Service"),
    ITEM_FLAGS(ID_TRAY_START_SERVICE, TRAY_WHILE_SERVICE_OFF, "Start Keyboard Service"),
    SEPARATOR,
    ITEM(ID_TRAY_SHOW, "Show Kelmor"),
    ITEM(ID_TRAY_EXIT, "Exit Kelmor"),
};
const int kTrayMenuCount = sizeof kTrayMenu / sizeof kTrayMenu[0];

#undef POPUP
#undef END
#undef SEPARATOR
#undef ITEM
#undef ITEM_FLAGS

const Accelerator kAccelerators[] = {
    {true, 'N', ID_NEW},
    {true, 'O', ID_OPEN},
    {true, 'S', ID_SAVE_AS},
    {false, VK_F1_KEY, ID_HELP_SCREEN},
};
const int kAcceleratorCount = sizeof kAccelerators / sizeof kAccelerators[0];

const MenuEntry* FindMenuEntry(int id) {
    for (const MenuEntry& entry : kMenuBar) {
        if (entry.kind == MENU_ITEM && entry.id == id) return &entry;
    }
    return nullptr;
}
