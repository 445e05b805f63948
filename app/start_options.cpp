#include "app/start_options.h"

#include "platform/dialog.h"
#include "platform/wintypes.h"
#include "ui/message_box.h"

void OnStartOptionBox(int dialog, int control, uint8_t& option, bool othersOn) {
    if (!DialogIsChecked(dialog, control)) {
        option = 0;
        return;
    }
    if (othersOn) {
        KelmorMessageBox(
            "The options:\n\n         *   \"Reload last recorded file\"\n         *   \"Immediately start playing "
            "after open\"\n         *   \"Quit Kelmor when playback done\"\n\n...cannot all be chosen at the same "
            "time, because the Kelmor window would never appear again.\n\nPlease choose any 2 of those 3 options.",
            "Kelmor Warning", MB_ICONEXCLAMATION);
        DialogCheck(dialog, control, false);
        return;
    }
    option = 1;
}
