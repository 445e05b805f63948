#include "app/about_box.h"

#include "app/help_commands.h"
#include "platform/dialog.h"
#include "platform/wintypes.h"
#include "settings/format.h"
#include "settings/settings.h"
#include "platform/picture_ids.h"
#include "ui/small_dialog_description.h"
#include "ui/version.h"

namespace {

void OpenLink(int dialog) {
    if (!OpenWebPage()) return;
    // Held at its top: one more would wrap the 8-bit count to 0 and the link back to blue.
    if (gSettings.gbVisited < 255) ++gSettings.gbVisited;
    DialogCheck(dialog, IDC_ABOUT_LINK, true);
}

}  // namespace

void AboutProcedure(int dialog, int message, int control, int notification) {
    if (message == DIALOG_INIT) {
        char text[64];
        FormatText(text, sizeof text, "Kelmor Version %s", KELMOR_VERSION_TEXT);
        DialogSetText(dialog, IDC_ABOUT_VERSION, text);
        FormatText(text, sizeof text, "Build: %s  Time: %s", __DATE__, __TIME__);
        DialogSetText(dialog, IDC_ABOUT_BUILD, text);
        DialogSetText(dialog, IDC_ABOUT_LINK, kWebPageAddress);
        DialogSetImage(dialog, IDC_ABOUT_LOGO, IDB_ABOUT_LOGO);
        // A checked link is drawn in the visited colour.
        DialogCheck(dialog, IDC_ABOUT_LINK, gSettings.gbVisited != 0);
        // Enter closes the box rather than opening the link.
        DialogFocus(dialog, IDOK);
        return;
    }
    if (message != DIALOG_COMMAND || notification != NOTIFY_CLICKED) return;
    if (control == IDC_ABOUT_LINK || control == IDC_ABOUT_LOGO) OpenLink(dialog);
    else if (control == IDOK || control == IDCANCEL) DialogEnd(dialog, control);
}

void OnAbout(int) { DialogRun(&kAboutDialog, AboutProcedure); }
