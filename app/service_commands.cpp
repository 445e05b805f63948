#include "app/service_commands.h"

#include <cstring>

#include "host/service_control.h"
#include "platform/dialog.h"
#include "player/playback_control.h"
#include "script/key_names.h"
#include "settings/format.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "ui/command_ids.h"
#include "ui/message_box.h"
#include "ui/pane_description.h"

void OnActivateBox() { gSettings.gbKeyboardService = DialogIsChecked(ID_PANES, IDC_ACTIVATE) ? 1 : 0; }

void OnTrayServiceCommand(int id) {
    if (gPlayer.gbPlayingNow) return;
    const bool on = id == ID_TRAY_START_SERVICE;
    DialogCheck(ID_PANES, IDC_ACTIVATE, on);
    gSettings.gbKeyboardService = on ? 1 : 0;
}

void ReportBusyHotKeys() {
    if (!gServiceHost.gbBusyKeysToReport || gServiceHost.gnBusyKeys <= 0) return;
    // Marked first: the box's own loop may run the timer again.
    gServiceHost.gbBusyKeysToReport = false;
    char keys[BUSY_KEYS_MAX * 40] = "";
    for (int i = 0; i < gServiceHost.gnBusyKeys; ++i) {
        const TakenKey& key = gServiceHost.gBusyKeys[i];
        char combination[40];
        KeyCombinationText(key.vk, key.ctrl != 0, key.shift != 0, key.alt != 0, combination, sizeof combination);
        const size_t used = strlen(keys);
        FormatText(keys + used, static_cast<int>(sizeof keys - used), "%s%s", i > 0 ? ", " : "", combination);
    }
    LogAt(LOG_LOW, "Hot keys held by another program: %s", keys);
    KelmorMessageBoxF("Keyboard Service Error", MB_ICONINFORMATION,
                      "Another program already holds these hot keys, so their Mappings cannot act:\n\n%s\n\nThe "
                      "other Mappings work as usual.",
                      keys);
}

void RefreshServiceAfterEdit(const char* notActiveText) {
    if (!RefreshServiceCache()) {
        KelmorMessageBox(notActiveText, "Service Not Active", MB_OK | MB_ICONINFORMATION);
        return;
    }
    ReportBusyHotKeys();
}
