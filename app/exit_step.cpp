#include "app/exit_step.h"

#include "app/app_state.h"
#include "host/service_control.h"
#include "platform/desktop.h"
#include "platform/journal.h"
#include "platform/loop.h"
#include "platform/registry.h"
#include "platform/tray_icon.h"
#include "platform/window.h"
#include "player/playback_control.h"
#include "player/recorder.h"
#include "recording/display_name.h"
#include "recording/file_commands.h"
#include "recording/recording.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "ui/command_state.h"
#include "ui/run_mode.h"
#include "ui/tray_icon.h"

namespace {

bool Interactive() { return gRun.gnRunMode == RUN_INTERACTIVE; }

// Exit and Close end a recording or playback first. A playback cut short did not play
// through. The window may then stay (tray mode, a cancelled question): with the hook
// gone it must not go on offering Stop and refusing everything else.
void CancelJournalOnLeaving(const char* logLine) {
    if (gPlayer.ghJournalHook == 0) return;
    if (gPlayer.gbPlayingNow) NoteFailedHiddenPlayback();
    CancelJournalForExit(logLine);
    if (!Interactive()) return;
    SetCommandState(gRecording.nEventCount > 0 ? CMD_STATE_IDLE : CMD_STATE_EMPTY);
    ShowCurrentFileTitle();
    SetStatusText(" ");
}

}  // namespace

void OnExit(int) {
    CancelJournalOnLeaving("CANCELLED RECORDING: Kelmor Exit called\r\n");
    CloseMainWindow();
}

void OnEndSession() {
    if (gPlayer.ghJournalHook != 0 && gPlayer.gbPlayingNow) NoteFailedHiddenPlayback();
    CancelJournalForExit("CANCELLED RECORDING: Kelmor ended by the system\r\n");
    RunExitStep();
}

bool CloseMainWindow() {
    CancelJournalOnLeaving("CANCELLED RECORDING: Kelmor Close called\r\n");
    if (Interactive()) {
        // Hidden without a tray to hold its icon, the window could not come back.
        if (gSettings.gdwShowTrayIcon != 0 && ShellIsTrayIconReachable()) {
            ShellShowMainWindow(SW_HIDE);
            return false;
        }
        if (!AskToSaveChanges()) return false;
    }
    RunExitStep();
    return true;
}

void RunExitStep() {
    // Exit may be posted twice (a stop and a cancel in one breath); the store is freed
    // by the first and must not be touched again.
    if (gApp.gbExitStepDone) return;
    gApp.gbExitStepDone = true;
    RemoveTrayIcon();
    if (gPlayer.ghJournalHook != 0) {
        if (!RemoveJournalHook(gPlayer.ghJournalHook)) LogLastErrorAt(LOG_LOW);
        gPlayer.ghJournalHook = 0;
        gPlayer.gbPlayingNow = false;
    }
    ShellKillTimer(SERVICE_TIMER);
    RemoveServiceForJournal(REMOVE_AT_EXIT);
    FreeRecordingStore();
    // Options given on the command line are for that run only.
    if (Interactive()) {
        ShellGetMainWindowPosition(&gSettings.gnWindowLeft, &gSettings.gnWindowTop);
        SaveSettings();
        StoreReleaseWindowHold();
    }
    ShellQuitMessageLoop(gRun.gnExitCode);
}
