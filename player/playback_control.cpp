#include "player/playback_control.h"

#include <cstdint>
#include <cstring>

#include "host/service_control.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/input.h"
#include "platform/journal.h"
#include "platform/system.h"
#include "platform/window.h"
#include "platform/wintypes.h"
#include "player/player.h"
#include "recording/display_name.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "script/send_lock_key.h"
#include "script/type_expansion.h"
#include "settings/format.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "text/no_case.h"
#include "text/texts.h"
#include "ui/command_ids.h"
#include "ui/command_state.h"
#include "ui/commands.h"
#include "platform/picture_ids.h"
#include "ui/message_box.h"
#include "ui/pane_view.h"
#include "ui/platform_wording.h"
#include "ui/run_mode.h"
#include "ui/tray_icon.h"
#include "ui/version.h"

namespace {

// The status line holds at most this many characters worth comparing.
const int kStatusCompareLength = 62;

bool Interactive() { return gRun.gnRunMode == RUN_INTERACTIVE; }

bool ExitWhenDone() { return gSettings.gbQuitWhenDone != 0 || !Interactive(); }

// The keyboard service's play-file request: the named recording replaces the current one.
bool LoadServiceFile() {
    char name[MAX_PATH];
    ReadSettingText("ServiceFileLoad", name);
    memcpy(gRecording.gszFile, name, sizeof gRecording.gszFile);
    gRecording.gszFile[sizeof gRecording.gszFile - 1] = '\0';
    // The hot key's modifiers are still down; they must not reach the played events.
    const uint8_t released[256] = {};
    SysSetKeyboardState(released);
    return LoadRecording(gRecording.gszFile) >= 0;
}

// A hidden program lives only for its playback: when none can start it must not stay
// behind with no window to close.
void GiveUpWhenHidden() {
    if (Interactive()) return;
    NoteFailedHiddenPlayback();
    PostCommand(ID_EXIT);
}

void LogPlaybackStart() {
    if (!LogEnabled(LOG_LOW)) return;
    uint32_t platform = 0, major = 0, minor = 0, build = 0;
    SysGetVersion(&platform, &major, &minor, &build);
    LogAt(LOG_LOW,
          "\r\nStarting '%s' playback (%d Total Actions) with Kelmor %s at log level %d on Windows Platform %li "
          "Version %li.%li Build #%li....",
          gRecording.gszFile[0] != '\0' ? gRecording.gszFile : kUntitled, gRecording.nEventCount, KELMOR_VERSION_TEXT,
          static_cast<int>(gLog.gbLogLevel), platform, major, minor, build);
}

}  // namespace

void SetStatusText(const char* text) {
    if (text == nullptr) text = "";
    char current[kStatusCompareLength + 1];
    ViewGetStatusText(current, sizeof current);
    if (!EqualNoCase(current, text)) ViewSetStatusText(text);
}

void OnPlayback(int id) {
    if (gPlayer.ghJournalHook != 0) return;
    if (id == ID_SERVICE_PLAYFILE && !LoadServiceFile()) return;
    if (gRecording.nEventCount < 1) {
        KelmorMessageBox(kNoActionsText, "Play Error", MB_ICONEXCLAMATION);
        GiveUpWhenHidden();
        return;
    }
    if (gPlayer.gbPlayingNow) {
        LogAt(LOG_LOW, "Sanity Check Failure: 'ID_PLAY' with 'gPlayer.gbPlayingNow' (this should never happen)");
    }
    RemoveServiceForJournal(REMOVE_FOR_PLAYBACK);
    LogPlaybackStart();
    SetCommandState(CMD_STATE_BUSY);
    if (gSettings.gdwShowTrayIcon != 0) SetTrayIcon(TRAY_PLAYING, "Kelmor is playing");
    BackupRecording();
    ResetPlayerForPass();
    gPlayer.gbScriptAltDown = false;
    if (gSettings.gbMinimize && ShellIsMainWindowVisible()) ShellShowMainWindow(SW_MINIMIZE);
    if (id == ID_SERVICE_PLAYBACK &&
        ReadSettingDword("FastMapPlay", 0) != 0) {
        gPlayer.gbSavedSpeed = gSettings.gbSpeed;
        gSettings.gbSpeed = 4;
    }
    gPlayer.ghJournalHook = InstallJournalHook(WH_JOURNALPLAYBACK, JournalPlaybackProc);
    if (gPlayer.ghJournalHook == 0) {
        LogLastErrorAt(LOG_LOW);
        LogAt(LOG_LOW, "Unable to start playback!");
        // Nothing plays, so the Mapping's fast speed must not stay behind as the user's.
        if (gPlayer.gbSavedSpeed != 0) {
            gSettings.gbSpeed = gPlayer.gbSavedSpeed;
            gPlayer.gbSavedSpeed = 0;
        }
        KelmorMessageBox("Unable to start playback!", "Playback Failure", MB_ICONEXCLAMATION);
        GiveUpWhenHidden();
        return;
    }
    gPlayer.gbPlayingNow = true;
    SetStatusText("PRESS CTRL + ESCAPE TO STOP");
    char repeats[16];
    FormatText(repeats, sizeof repeats, "%li", gSettings.gnRepeats);
    ViewSetRepeatField(repeats);
}

void OnTrayPlay(int) {
    if (gPlayer.gbPlayingNow) return;
    SendCommand(ID_PLAY);
}

void OnLoadNormalPlaySettings(int) {
    gSettings.gbSpeed = 2;
    ViewSetSpeedButtons(2);
    gSettings.gnRepeats = 1;
    ViewSetRepeatField("1");
    gSettings.gbContinuous = 0;
    ViewSetContinuousBox(false);
    ViewEnableRepeatControls(true);
}

void OnFastSpeed(int) {
    gSettings.gbSpeed = 3;
    ViewSetSpeedButtons(3);
}

void StopAndResetPlayback(bool continuing) {
    LogAt(LOG_LOW, "Playback Complete!\r\n");
    if (gPlayer.ghJournalHook != 0) {
        if (!RemoveJournalHook(gPlayer.ghJournalHook)) {
            LogLastErrorAt(LOG_LOW);
            LogAt(LOG_LOW, "Unable to unhook windows hook during stop and reset playback!");
        }
        gPlayer.ghJournalHook = 0;
        gPlayer.gbPlayingNow = false;
    }
    if (!continuing) gRecording.nCompletedPasses = 0;
    LogAt(LOG_HIGH, "Restoring entire original event array from %li back to %li", gRecording.nEventCount,
          gRecording.nBackupEventCount);
    RestoreRecordingBackup();
    ClearPlayerDelays();
    if (gPlayer.gbSavedSpeed != 0) {
        gSettings.gbSpeed = gPlayer.gbSavedSpeed;
        gPlayer.gbSavedSpeed = 0;
    }
    if (!continuing && Interactive()) {
        if (gSettings.gbMinimize && ShellIsMainWindowVisible()) ShellShowMainWindow(SW_RESTORE);
        SetCommandState(CMD_STATE_IDLE);
        ShowCurrentFileTitle();
        SetStatusText(" ");
    }
    // The service comes back at once rather than at the next timer tick, and says so on
    // the status line the playback's own words have left.
    if (!continuing && gSettings.gbKeyboardService) OnServiceTimer();
    if (gPlayer.gbConsoleMinimized != 0 && Interactive()) {
        gPlayer.gbConsoleMinimized = 0;
        ShellShowMainWindow(SW_RESTORE);
    }
}

void EndOfPlaybackPass() {
    // A continuous playback may run for a very long time; the count saturates.
    if (gRecording.nCompletedPasses < INT32_MAX) ++gRecording.nCompletedPasses;
    if (gRecording.nCompletedPasses < gSettings.gnRepeats || gSettings.gbContinuous) {
        StopAndResetPlayback(true);
        const char* path = gRecording.gszFile[0] != '\0' ? gRecording.gszFile : kUntitled;
        char progress[MAX_PATH + 64];
        if (gSettings.gbContinuous) {
            FormatText(progress, sizeof progress, "%li done for %s", gRecording.nCompletedPasses, path);
        } else {
            FormatText(progress, sizeof progress, "%li of %li done for %s", gRecording.nCompletedPasses,
                       gSettings.gnRepeats, path);
        }
        if (gSettings.gbPlayUpdate == 1) ShellSetWindowTitle(progress);
        LogAt(LOG_LOW, "%s", progress);
        // The next pass is installed before the hook call that ended this one returns.
        SendCommand(ID_PLAY);
        return;
    }
    StopAndResetPlayback(false);
    if (ExitWhenDone()) PostCommand(ID_EXIT);
}

void OnCancelJournal() {
    // Only a held hook can be cancelled; an idle program keeps its recording.
    if (gPlayer.ghJournalHook == 0) return;
    char caption[64];
    if (gPlayer.gbPlayingNow) {
        FormatText(caption, sizeof caption, "%li Playbacks Completed", gRecording.nCompletedPasses);
    } else {
        FormatText(caption, sizeof caption, "Recording Stopped");
    }
    StopAndResetPlayback(false);
    LogAt(LOG_LOW, "CANCELLED RECORDING: Forced by Windows Operating System\r\n");
    NoteFailedHiddenPlayback();
    if (gSettings.gbInterruptWarning) {
        ShowIconMessage(
            PlatformText(
                "Windows is forcing Kelmor to stop recording and playing.\n\nThe CTRL+ESC and CTRL+ALT+DEL key "
                "combinations terminate Kelmor functions.\n(You can use these key combinations as a safe way to cancel "
                "a playback or recording)\n\n--> If you intended to go to the Windows START button, use the "
                "\"Windows Key\" instead."),
            caption, MB_TASKMODAL | MB_TOPMOST, IDI_KELMOR);
    }
    ShowCurrentFileTitle();
    if (ExitWhenDone()) PostCommand(ID_EXIT);
}

void OnServiceTimer() {
    if (gPlayer.ghJournalHook != 0 || !Interactive()) {
        PlaybackWatchdog();
        return;
    }
    ServiceTimerUpkeep();
}

void PlaybackWatchdog() {
    if (!gPlayer.gbPlayingNow || gPlayer.lWaitDuration == 0 || gPlayer.dwDelayStart == 0) return;
    const uint32_t elapsed = SysGetTickCount() - gPlayer.dwDelayStart;
    // Wide arithmetic: a WAIT near the limit of its type must not wrap the threshold.
    if (static_cast<int64_t>(elapsed) > static_cast<int64_t>(gPlayer.lWaitDuration) + 500) {
        SendLockKey(VK_CONTROL, 0);
        LogAt(LOG_LOW, "      !!! WINDOWS FROZE DURING DELAY PLAYBACK, KICK IT !!!");
    }
}
