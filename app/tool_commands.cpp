#include "app/tool_commands.h"

#include "app/service_commands.h"
#include "app/window_options.h"
#include "platform/loop.h"
#include "platform/wintypes.h"
#include "player/playback_control.h"
#include "recording/file_commands.h"
#include "recording/recording_file.h"
#include "settings/log.h"
#include "settings/recent_files.h"
#include "settings/settings.h"
#include "ui/command_ids.h"
#include "ui/command_state.h"
#include "ui/commands.h"
#include "ui/message_box.h"

namespace {

const unsigned kServiceTimerPeriodMs = 500;
const unsigned kFirstServiceTickMs = 50;
// The Value Ranges tab of Advanced Options, which holds the User Command choice.
const uint8_t kValueRangesTab = 3;

void OnServiceTimerTick(int) {
    OnServiceTimer();
    ReportBusyHotKeys();
}

// The service is ready as soon as the window is up, not a whole period later.
void OnFirstServiceTimerTick(int id) {
    ShellSetTimer(SERVICE_TIMER, kServiceTimerPeriodMs, OnServiceTimerTick);
    OnServiceTimerTick(id);
}

}  // namespace

void OnViewLogFile(int) { EditFile(gLog.gszLogFile); }

void OnUserCommand(int) {
    // Naming itself, the command would send itself for ever: that is no choice either.
    if (gSettings.gnUserCommand != 0 && gSettings.gnUserCommand != ID_USER_COMMAND) {
        SendCommand(gSettings.gnUserCommand);
        return;
    }
    const int answer = KelmorMessageBox(
        "There is no command chosen for the User toolbar button.\n\nYou can set it by choosing a command in the "
        "\"Advanced Options\" screen.\n\nDo you want to go there now?",
        "Empty User Command", MB_YESNO | MB_ICONINFORMATION);
    if (answer != IDYES) return;
    gSettings.gbLastOptionsTab = kValueRangesTab;
    SendCommand(ID_ADVANCED_OPTIONS);
}

void OnMenuOpening() {
    ApplyMenuOpeningRules(GetFileSize32(gRecording.gszFile) != 0, GetFileSize32(gLog.gszLogFile) != 0);
}

void SetUpMainWindow() {
    RebuildRecentMenu(true, true);
    SetCommandState(CMD_STATE_EMPTY);
    CheckWindowOptionItems();
    if (gLog.gbLogLevel >= LOG_MEDIUM && gSettings.gbPromptForSave != 0) {
        const int answer = KelmorMessageBox(
            "The Kelmor LOG is currently active.  This setting can negatively affect your computer's performance."
            "\n\nDo you want to reset the log to OFF?",
            "Confirm Kelmor Log Setting", MB_YESNO | MB_ICONINFORMATION);
        // Saved with the other settings at the exit.
        if (answer == IDYES) gLog.gbLogLevel = LOG_OFF;
    }
    ShellSetTimer(SERVICE_TIMER, kFirstServiceTickMs, OnFirstServiceTimerTick);
}

void ReloadLastFile() {
    if (gSettings.gbReload == 0) return;
    GetRecentFile(1, gRecording.gszFile);
    if (GetFileSize32(gRecording.gszFile) == 0) {
        // A name that loaded nothing is not the current file: a new recording would be
        // offered for saving under it.
        gRecording.gszFile[0] = '\0';
        return;
    }
    gRecording.gbFileChosen = true;
    SendCommand(ID_OPEN);
}
