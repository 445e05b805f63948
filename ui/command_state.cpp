#include "ui/command_state.h"

#include "platform/window.h"
#include "settings/settings.h"
#include "ui/command_ids.h"
#include "ui/menu_description.h"
#include "ui/tray_icon.h"

namespace {

// What each state does to a command's menu item and toolbar button: '1' enables, '0'
// greys, '-' leaves it as it is.
struct StateRow {
    int id;
    char states[4];  // empty, idle, busy
};

const StateRow kStates[] = {
    {ID_START_RECORDING, "110"},
    {ID_USER_COMMAND, "110"},
    {ID_OPEN, "110"},
    {ID_STOP_RECORDING, "001"},
    // These need a recording that is not being recorded or played.
    {ID_NEW, "010"},
    {ID_PLAY, "010"},
    {ID_CLOSE, "010"},
    {ID_SAVE_AS, "010"},
    {ID_CREATE_EXE, "010"},
    {ID_RELOAD_FILE, "010"},
    // Only the empty state greys Edit Script File; loads and saves set it otherwise.
    {ID_EDIT_SCRIPT, "0--"},
};

}  // namespace

void SetCommandState(int state) {
    if (state < CMD_STATE_EMPTY || state > CMD_STATE_BUSY) return;
    for (const StateRow& row : kStates) {
        const char what = row.states[state];
        if (what != '-') ShellEnableCommand(row.id, what == '1');
    }
    // Back to idle, the tray shows the service's idle icon again instead of the busy one.
    if (state == CMD_STATE_IDLE && gSettings.gdwShowTrayIcon != 0) {
        SetTrayIcon(static_cast<int>(gSettings.gdwShowTrayIcon), "Kelmor");
    }
}

void ApplyMenuOpeningRules(bool currentFileHasContent, bool logHasContent) {
    if (!currentFileHasContent) ShellEnableCommand(ID_EDIT_SCRIPT, false);
    ShellEnableCommand(ID_VIEW_LOG, logHasContent);
}

bool TrayEntryShown(const MenuEntry& entry, bool serviceOn) {
    if ((entry.flags & TRAY_WHILE_SERVICE_ON) != 0) return serviceOn;
    if ((entry.flags & TRAY_WHILE_SERVICE_OFF) != 0) return !serviceOn;
    return true;
}

bool TrayEntryEnabled(const MenuEntry& entry, bool hookInstalled, bool recordingHasEvents) {
    if ((entry.flags & TRAY_GREY_WHILE_HOOKED) != 0 && hookInstalled) return false;
    if ((entry.flags & TRAY_GREY_UNLESS_HOOKED) != 0 && !hookInstalled) return false;
    if ((entry.flags & TRAY_GREY_WITHOUT_EVENTS) != 0 && !recordingHasEvents) return false;
    return true;
}
