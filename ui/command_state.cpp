#include "ui/command_state.h"

#include "platform/window.h"
#include "settings/settings.h"
#include "ui/command_ids.h"

void SetCommandState(int state) {
    const bool busy = state == CMD_STATE_BUSY;
    const bool loaded = state == CMD_STATE_IDLE;
    ShellEnableCommand(ID_START_RECORDING, !busy);
    ShellEnableCommand(ID_USER_COMMAND, !busy);
    ShellEnableCommand(ID_OPEN, !busy);
    ShellEnableCommand(ID_STOP_RECORDING, busy);
    // These need a recording that is not being recorded or played.
    const int needRecording[] = {ID_NEW, ID_PLAY, ID_CLOSE, ID_SAVE_AS, ID_CREATE_EXE, ID_RELOAD_FILE};
    for (int id : needRecording) ShellEnableCommand(id, loaded);
    // Only the empty state greys Edit Script File; loads and saves set it otherwise.
    if (state == CMD_STATE_EMPTY) ShellEnableCommand(ID_EDIT_SCRIPT, false);
    // Back to idle, the tray shows the service's idle icon again instead of the busy one.
    if (loaded && gdwShowTrayIcon != 0) ShellSetTrayIcon(static_cast<int>(gdwShowTrayIcon), "Kelmor");
}
