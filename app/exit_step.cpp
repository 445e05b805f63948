#include "app/exit_step.h"

#include "host/service_control.h"
#include "platform/desktop.h"
#include "platform/journal.h"
#include "platform/loop.h"
#include "platform/window.h"
#include "player/playback_control.h"
#include "player/recorder.h"
#include "recording/file_commands.h"
#include "recording/recording.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "ui/run_mode.h"
#include "ui/tray_icon.h"

namespace {

bool gbExitStepDone = false;

bool Interactive() { return gnRunMode == RUN_INTERACTIVE; }

}  // namespace

void OnExit(int) {
    // A playback cut short by Exit did not play through.
    if (ghJournalHook != 0 && gbPlayingNow) NoteFailedHiddenPlayback();
    CancelJournalForExit("CANCELLED RECORDING: Kelmor Exit called\r\n");
    CloseMainWindow();
}

void OnEndSession() {
    if (ghJournalHook != 0 && gbPlayingNow) NoteFailedHiddenPlayback();
    CancelJournalForExit("CANCELLED RECORDING: Kelmor ended by the system\r\n");
    RunExitStep();
}

bool CloseMainWindow() {
    if (ghJournalHook != 0 && gbPlayingNow) NoteFailedHiddenPlayback();
    CancelJournalForExit("CANCELLED RECORDING: Kelmor Close called\r\n");
    if (Interactive()) {
        // Hidden without a tray to hold its icon, the window could not come back.
        if (gdwShowTrayIcon != 0 && ShellIsTrayIconReachable()) {
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
    if (gbExitStepDone) return;
    gbExitStepDone = true;
    RemoveTrayIcon();
    if (ghJournalHook != 0) {
        if (!SysUnhookJournal(ghJournalHook)) LogLastErrorAt(LOG_LOW);
        ghJournalHook = 0;
        gbPlayingNow = false;
    }
    RemoveServiceForJournal(REMOVE_AT_EXIT);
    FreeRecordingStore();
    // Options given on the command line are for that run only.
    if (Interactive()) {
        ShellGetMainWindowPosition(&gnWindowLeft, &gnWindowTop);
        SaveSettings();
    }
    ShellQuitMessageLoop(gnExitCode);
}

void ResetExitState() {
    gbExitStepDone = false;
}
