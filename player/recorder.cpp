#include "player/recorder.h"

#include <cstring>

#include "host/mappings.h"
#include "host/service_control.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/journal.h"
#include "platform/system.h"
#include "platform/window.h"
#include "platform/wintypes.h"
#include "player/playback_control.h"
#include "player/player.h"
#include "recording/display_name.h"
#include "recording/message_names.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "settings/format.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "ui/command_ids.h"
#include "ui/command_state.h"
#include "ui/commands.h"
#include "ui/message_box.h"
#include "ui/tray_icon.h"
#include "ui/version.h"

namespace {

// Stores one record at the write index while there is room; false when it was dropped.
bool StoreRecord(const EVENTMSG& record) {
    if (gPlayer.nCurrentEvent < 0 || gPlayer.nCurrentEvent >= EVENT_LOAD_LIMIT) return false;
    gRecordingStore.gEvents[gPlayer.nCurrentEvent] = record;
    return true;
}

void LogRecordedEvent(const EVENTMSG& event) {
    if (!LogEnabled(LOG_MEDIUM)) return;
    char number[16];
    const char* name = LogMessageName(event.message);
    if (name == nullptr) {
        FormatText(number, sizeof number, "%u", event.message);
        name = number;
    }
    LogAt(LOG_MEDIUM,
          "RECORDING #%d: hWnd=%li, Time=%li, Message=%s (paramL=0x%X, paramH=0x%X, wParam=0x%X, lParam=0x%X)",
          gPlayer.nCurrentEvent + 1, static_cast<int32_t>(event.hwnd), static_cast<int32_t>(event.time), name,
          event.paramL, event.paramH, event.paramL & 0xFFu, (event.paramL >> 8) & 0xFFu);
}

}  // namespace

void OnStartRecording(int) {
    if (gPlayer.ghJournalHook != 0) return;
    RemoveServiceForJournal(REMOVE_FOR_RECORDING);

    uint32_t platformId = 0, major = 0, minor = 0, build = 0;
    SysGetVersion(&platformId, &major, &minor, &build);
    LogAt(
        LOG_LOW,
        "\r\nStarting recording with Kelmor %s at log level %d on Windows Platform %li Version %li.%li Build #%li....",
        KELMOR_VERSION_TEXT, static_cast<int>(gLog.gbLogLevel), platformId, major, minor, build);

    memset(gRecordingStore.gEvents, 0, EVENT_CAPACITY * sizeof(EVENTMSG));
    SetCommandState(CMD_STATE_BUSY);
    if (gSettings.gdwShowTrayIcon != 0) SetTrayIcon(TRAY_RECORDING, "Kelmor is recording");
    gRecording.gbModified = true;
    if (gSettings.gbMinimize && ShellIsMainWindowVisible()) {
        ShellSetWindowTitle("CLICK TO STOP RECORDING");
        ShellShowMainWindow(SW_MINIMIZE);
    }
    LogAt(LOG_LOW, "Start recording time: %li ticks", SysGetTickCount());

    gPlayer.nCurrentEvent = 0;
    gPlayer.ghJournalHook = InstallJournalHook(WH_JOURNALRECORD, JournalRecordProc);
    if (gPlayer.ghJournalHook == 0) {
        // The list is already wiped; a count left from the old recording would describe
        // records that are no longer there.
        gRecording.nEventCount = 0;
        LogLastErrorAt(LOG_LOW);
        LogAt(LOG_LOW, "Start Windows Recorder Failed!");
        KelmorMessageBox("Start Windows Recorder Failed!", "Failure", MB_ICONEXCLAMATION);
    }
}

void OnStopRecording(int) {
    if (gPlayer.ghJournalHook != 0 && gPlayer.gbPlayingNow) {
        // Only a recording can be closed here. The list of a running playback holds the
        // events its script inserted; cutting it at the read index would ruin the
        // recording, so the playback ends as any final stop does.
        StopAndResetPlayback(false);
    } else if (gPlayer.ghJournalHook != 0) {
        const intptr_t hook = gPlayer.ghJournalHook;
        if (!RemoveJournalHook(hook)) {
            LogLastErrorAt(LOG_LOW);
            LogAt(LOG_LOW, "Unable to unhook windows hook after STOP command!");
        }
        // The input the hook took in on its way out held the stop key: that stop has
        // closed the recording already.
        if (gPlayer.ghJournalHook != hook) return;
        gPlayer.ghJournalHook = 0;
        if (gPlayer.nCurrentEvent < 0) gPlayer.nCurrentEvent = 0;
        if (gPlayer.nCurrentEvent > EVENT_LOAD_LIMIT) gPlayer.nCurrentEvent = EVENT_LOAD_LIMIT;
        const uint32_t now = SysGetTickCount();
        gRecordingStore.gEvents[gPlayer.nCurrentEvent] = EVENTMSG{15, 0, 0, now, 0};
        LogAt(LOG_LOW, "End recording time: %li ticks (%d total actions: final action not logged)\r\n", now,
              gPlayer.nCurrentEvent + 1);
        ++gPlayer.nCurrentEvent;
        gRecording.nEventCount = gPlayer.nCurrentEvent;
    }
    SetCommandState(CMD_STATE_IDLE);
    SetStatusText(" ");
}

void OnTrayStartRecording(int) {
    if (!gPlayer.gbPlayingNow) SendCommand(ID_START_RECORDING);
}

void OnTrayStopRecording(int) {
    if (!gPlayer.gbPlayingNow) SendCommand(ID_STOP_RECORDING);
}

intptr_t JournalRecordProc(int code, uintptr_t wParam, intptr_t lParam) {
    if (code < 0) return SysCallNextHook(gPlayer.ghJournalHook, code, wParam, lParam);
    if (code != HC_ACTION || lParam == 0) return 0;
    const EVENTMSG event = *reinterpret_cast<const EVENTMSG*>(lParam);

    if (gMappings.gbStopRecordingKey != 0 && event.message == WM_KEYDOWN &&
        (event.paramL & 0xFFu) == gMappings.gbStopRecordingKey) {
        LogAt(LOG_MEDIUM, "\"Stop Recording\" key pressed: %d", static_cast<int>(gMappings.gbStopRecordingKey));
        SendCommand(ID_STOP_RECORDING);
        return 0;
    }
    if (gSettings.gbExcludeKelmorAction && SysIsOwnWindow(event.hwnd)) return 0;

    if (event.message == WM_LBUTTONUP) {
        const uint32_t now = SysGetTickCount();
        if (now - gPlayer.gdwLastButtonUpTick > SysGetDoubleClickTime()) {
            gPlayer.gdwLastButtonUpTick = now;
        } else {
            // The journal reports a quick second click as a plain press; playback needs
            // the double click itself.
            EVENTMSG doubleClick = event;
            doubleClick.message = WM_LBUTTONDBLCLK;
            if (StoreRecord(doubleClick)) ++gPlayer.nCurrentEvent;
        }
    }

    const bool stored = StoreRecord(event);
    LogRecordedEvent(event);
    if (stored) ++gPlayer.nCurrentEvent;
    return 0;
}

void OnMainWindowFocus() {
    if (gPlayer.ghJournalHook != 0 && !gPlayer.gbPlayingNow && gSettings.gbMinimize && ShellIsMainWindowVisible()) {
        ShowCurrentFileTitle();
        SendCommand(ID_STOP_RECORDING);
    }
}

void CancelJournalForExit(const char* logLine) {
    if (gPlayer.ghJournalHook == 0) return;
    LogAt(LOG_LOW, "%s", logLine != nullptr ? logLine : "");
    const intptr_t hook = gPlayer.ghJournalHook;
    if (!RemoveJournalHook(hook)) LogLastErrorAt(LOG_LOW);
    // Stopped by its stop key on the way out: a whole recording, which the save question
    // may still keep.
    if (gPlayer.ghJournalHook != hook) return;
    gPlayer.ghJournalHook = 0;
    if (gPlayer.gbPlayingNow) {
        // The list still holds what the script inserted during the pass; the closing
        // save prompt, or a later playback from the tray, must see the recording itself.
        RestoreRecordingBackup();
        ClearPlayerDelays();
        gPlayer.gbPlayingNow = false;
        gRecording.nCompletedPasses = 0;
        if (gPlayer.gbSavedSpeed != 0) {
            gSettings.gbSpeed = gPlayer.gbSavedSpeed;
            gPlayer.gbSavedSpeed = 0;
        }
    } else {
        // The old recording was wiped when this one began, and the new one never
        // closed: nothing in the list is a recording any more.
        gRecording.nEventCount = 0;
    }
}
