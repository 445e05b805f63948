#include "app/tray.h"

#include "app/app_state.h"
#include "app/exit_step.h"
#include "host/service_control.h"
#include "platform/desktop.h"
#include "platform/dialog.h"
#include "platform/picture_ids.h"
#include "platform/tray_icon.h"
#include "platform/window.h"
#include "player/playback_control.h"
#include "recording/recording.h"
#include "settings/settings.h"
#include "ui/command_ids.h"
#include "ui/command_state.h"
#include "ui/commands.h"
#include "ui/menu_description.h"
#include "ui/message_box.h"
#include "ui/pane_description.h"
#include "ui/platform_wording.h"
#include "ui/tray_icon.h"

namespace {

const int kMaxTrayMenuItems = 16;

const char kNoTray[] =
    "There is no system tray on this desktop to hold the Kelmor icon, so the Kelmor window stays open.";

void SayNoTray() { KelmorMessageBox(kNoTray, "Tray Icon", MB_ICONEXCLAMATION); }

int IdleCode() { return gServiceHost.ghServiceHook != 0 ? TRAY_IDLE_SERVICE : TRAY_IDLE; }

void OpenTrayMenu() {
    if (gApp.gbTrayMenuOpen) return;
    TrayMenuItem items[kMaxTrayMenuItems];
    int count = 0;
    for (int i = 0; i < kTrayMenuCount && count < kMaxTrayMenuItems; ++i) {
        const MenuEntry& entry = kTrayMenu[i];
        if (entry.kind == MENU_SEPARATOR) {
            items[count++] = {0, "", false};
        } else if (entry.kind == MENU_ITEM && TrayEntryShown(entry, gSettings.gbKeyboardService != 0)) {
            // An entry nothing carries out yet stays grey, as in the menu bar.
            const bool enabled = TrayEntryEnabled(entry, gPlayer.ghJournalHook != 0, gRecording.nEventCount > 0) &&
                                 FindCommandHandler(entry.id) != nullptr;
            items[count++] = {entry.id, entry.text, enabled};
        }
    }
    gApp.gbTrayMenuOpen = true;
    const int chosen = ShellTrackTrayMenu(items, count);
    gApp.gbTrayMenuOpen = false;
    if (chosen != 0) SendCommand(chosen);
}

// The tray gave up the icon: a hidden window would be out of reach.
void OnTrayLost() {
    if (gSettings.gdwShowTrayIcon == 0 || ShellIsMainWindowVisible()) return;
    ShellShowMainWindow(SW_SHOWNORMAL);
    SayNoTray();
}

}  // namespace

void SetTrayMode(bool on) {
    ShellCheckMenuItem(ID_RUN_FROM_TRAY, on);
    DialogCheck(ID_PANES, IDC_TRAY_ICON, on);
    if (!on) {
        gSettings.gdwShowTrayIcon = 0;
        RemoveTrayIcon();
        return;
    }
    gSettings.gdwShowTrayIcon = static_cast<uint32_t>(IdleCode());
    if (!AddTrayIcon(IdleCode(), "Kelmor")) {
        // Turned on where no tray can show it, the mode stays off: checked, it would be
        // saved and the next start would look for a tray that is not there.
        ShellCheckMenuItem(ID_RUN_FROM_TRAY, false);
        DialogCheck(ID_PANES, IDC_TRAY_ICON, false);
        gSettings.gdwShowTrayIcon = 0;
        RemoveTrayIcon();
        SayNoTray();
        return;
    }
    if (gSettings.gbPromptForSave != 0) {
        ShowIconMessage(PlatformText("You can now access Kelmor from the System Tray on the Taskbar."), "Tray Icon",
                        gSettings.gdwMsgBoxStyle, IDI_TRAY_MESSAGE);
    }
    ShellShowMainWindow(SW_HIDE);
}

void OnRunFromTray(int) { SetTrayMode(gSettings.gdwShowTrayIcon == 0); }

void OnTrayShow(int) { ShellShowMainWindow(SW_SHOWNORMAL); }

// No question about an unsaved recording: the tray's Exit is the way out that asks nothing.
void OnTrayExit(int) { RunExitStep(); }

void ShowWindowOrTrayIcon() {
    ShellCheckMenuItem(ID_RUN_FROM_TRAY, gSettings.gdwShowTrayIcon != 0);
    if (gSettings.gdwShowTrayIcon != 0 && AddTrayIcon(IdleCode(), "Kelmor")) return;
    ShellShowMainWindow(SW_SHOWNORMAL);
    if (gSettings.gdwShowTrayIcon != 0) SayNoTray();
}

void OnTrayEvent(int event) {
    switch (event) {
        case TRAY_EVENT_DOUBLE_CLICK:
            OnTrayShow(ID_TRAY_SHOW);
            break;
        case TRAY_EVENT_MENU:
            OpenTrayMenu();
            break;
        case TRAY_EVENT_LOST:
            OnTrayLost();
            break;
        default:
            break;
    }
}

