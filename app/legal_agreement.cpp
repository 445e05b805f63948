#include "app/legal_agreement.h"

#include "platform/dialog.h"
#include "platform/wintypes.h"
#include "ui/licence_text.h"  // generated from LICENSE at build time
#include "ui/small_dialog_description.h"

void LegalAgreementProcedure(int dialog, int message, int control, int notification) {
    if (message == DIALOG_INIT) {
        DialogSetText(dialog, IDC_LEGAL_TEXT, kLicenceText);
        DialogFocus(dialog, IDOK);
    } else if (message == DIALOG_COMMAND && notification == NOTIFY_CLICKED && (control == IDOK || control == IDCANCEL)) {
        DialogEnd(dialog, control);
    }
}

void OnLegalAgreement(int) { DialogRun(&kLegalDialog, LegalAgreementProcedure); }
