#include "host/service_control.h"

#include <cstring>

#include "host/busy_processes.h"
#include "host/mappings.h"
#include "host/short_types.h"
#include "platform/input.h"
#include "settings/format.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "ui/message_box.h"
#include "ui/pane_view.h"
#include "ui/tray_icon.h"

ServiceHost gServiceHost;

namespace {

// Commands from the service go to this program's own loop; the record only needs to
// know that a main window is there to take them.
const uint32_t kMainWindow = 1;

// Said once a run, in a box: the status line alone is easily missed, and a service that
// quietly misses most programs' keys looks broken.
void TellReach(bool installed) {
    const char* notice = SysKeyboardHookReachNotice(installed);
    if (gServiceHost.gbReachTold || notice == nullptr) return;
    gServiceHost.gbReachTold = true;
    KelmorMessageBox(notice, "Kelmor", MB_ICONINFORMATION);
}

void SetIdleTrayIcon() {
    if (gSettings.gdwShowTrayIcon == 0) return;
    // The setting holds the idle picture last set: the end of a recording or playback
    // goes back to it, and a later start shows it.
    gSettings.gdwShowTrayIcon = gServiceHost.ghServiceHook != 0 ? TRAY_IDLE_SERVICE : TRAY_IDLE;
    SetTrayIcon(static_cast<int>(gSettings.gdwShowTrayIcon), "Kelmor");
}

bool Unhook(int reason, int failureLevel) {
    if (!SysUnhookKeyboard(gServiceHost.ghServiceHook)) {
        LogAt(failureLevel, "Remove Keyboard Service %li FAILURE", static_cast<int32_t>(gServiceHost.ghServiceHook));
        return false;
    }
    LogAt(LOG_HIGH, "Removed Keyboard Service %li Successfully (%d)", static_cast<int32_t>(gServiceHost.ghServiceHook),
          reason);
    gServiceHost.ghServiceHook = 0;
    return true;
}

// Only Mappings whose action keeps the key from the program are taken from programs:
// the stop-recording and replace keys must still reach them.
bool TakesItsKey(int action) {
    return action == ACTION_START_RECORDING || (action >= ACTION_PLAYBACK && action <= ACTION_PLAY_FILE);
}

void TakeMappingKeys() {
    TakenKey keys[256];
    int count = 0;
    for (int vk = 0; vk < 255; ++vk) {
        if (!TakesItsKey(gMappings.gbMapAction[vk])) continue;
        keys[count++] = {static_cast<uint8_t>(vk), gMappings.gbMapCtrl[vk], gMappings.gbMapShift[vk],
                         gMappings.gbMapAlt[vk]};
    }
    TakenKey busy[BUSY_KEYS_MAX];
    int busyCount = SysTakeKeys(keys, count, busy, BUSY_KEYS_MAX);
    if (busyCount > BUSY_KEYS_MAX) busyCount = BUSY_KEYS_MAX;
    if (busyCount < 0) busyCount = 0;
    // The same keys held by the same others were reported already.
    const size_t bytes = sizeof busy[0] * static_cast<size_t>(busyCount);
    if (busyCount == gServiceHost.gnBusyKeys && memcmp(busy, gServiceHost.gBusyKeys, bytes) == 0) return;
    memcpy(gServiceHost.gBusyKeys, busy, bytes);
    gServiceHost.gnBusyKeys = busyCount;
    gServiceHost.gbBusyKeysToReport = busyCount != 0;
}

void HandCacheOver() {
    char shortTypes[SHORTTYPE_LIST_SLOTS * SHORTTYPE_LIST_SLOT_SIZE];
    ReadShortTypes(shortTypes);
    ReadMappings();
    // The service types characters in whatever layout is active and switches none, so
    // there is no layout to give back.
    gServiceHost.gpfnReloadServiceCache(kMainWindow, static_cast<uint32_t>(gServiceHost.ghServiceHook), gLog.gbLogLevel,
                                        gLog.gszLogFile, gMappings.gbMapAction, gMappings.gbMapCtrl,
                                        gMappings.gbMapShift, gMappings.gbMapAlt, shortTypes, nullptr);
    if (gServiceHost.ghServiceHook != 0) TakeMappingKeys();
}

void Install() {
    gServiceHost.ghServiceHook = SysSetKeyboardHook(gServiceHost.gpfnKelmorKeyboardProc);
    if (gServiceHost.ghServiceHook == 0) {
        if (!gServiceHost.gbInstallFailureLogged) {
            LogLastErrorAt(LOG_LOW);
            LogAt(LOG_LOW, "Install Keyboard Hook FAILED (last error above)!");
            gServiceHost.gbInstallFailureLogged = true;
        }
        ViewSetStatusText("Unable to Activate the Service!");
        TellReach(false);
        return;
    }
    if (gServiceHost.gpfnReloadServiceCache == nullptr) {
        if (!gServiceHost.gbInstallFailureLogged) LogAt(LOG_LOW, "Unable to locate the ReloadServiceCache service");
        gServiceHost.gbInstallFailureLogged = true;
        SysUnhookKeyboard(gServiceHost.ghServiceHook);
        gServiceHost.ghServiceHook = 0;
        return;
    }
    gServiceHost.gbInstallFailureLogged = false;
    HandCacheOver();
    const char* reach = SysKeyboardHookReach();
    if (reach == nullptr) {
        ViewSetStatusText("Service Active");
    } else {
        char status[96];
        FormatText(status, sizeof status, "Service Active (%s)", reach);
        ViewSetStatusText(status);
    }
    SetIdleTrayIcon();
    TellReach(true);
    LogAt(LOG_HIGH, "Installed Keyboard Service %li Successfully", static_cast<int32_t>(gServiceHost.ghServiceHook));
}

}  // namespace

void RemoveServiceForJournal(int reason) {
    if (gServiceHost.ghServiceHook == 0) return;
    Unhook(reason, LOG_HIGH);
}

void ServiceTimerUpkeep() {
    // Another Kelmor playing back or recording: its keys are no one's to act on or take.
    const bool resting = AnotherProcessBusy();
    if (resting && gServiceHost.ghServiceHook != 0) {
        Unhook(REMOVE_FOR_PLAYBACK, LOG_LOW);
    } else if (resting) {
        return;
    } else if (gSettings.gbKeyboardService != 0 && gServiceHost.ghServiceHook == 0) {
        Install();
    } else if (gSettings.gbKeyboardService == 0 && gServiceHost.ghServiceHook != 0) {
        if (!Unhook(REMOVE_FOR_TIMER, LOG_LOW)) return;
        ViewSetStatusText("Service Stopped");
        SetIdleTrayIcon();
    } else if (gSettings.gbKeyboardService == 0) {
        gServiceHost.gbInstallFailureLogged = false;
    }
}

bool RefreshServiceCache() {
    if (gServiceHost.gpfnReloadServiceCache == nullptr) {
        ReadMappings();
        return false;
    }
    HandCacheOver();
    return true;
}

void ResetHostState() {
    gServiceHost = ServiceHost{};
    ClearMappings();
    ResetBusyProcesses();
}
