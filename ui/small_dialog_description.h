// The small dialogs as data: the About box and the Legal Agreement.
#pragma once
#include "platform/dialog.h"

enum SmallDialogControlId {
    IDC_ABOUT_LOGO = 1140,
    IDC_ABOUT_VERSION = 1109,  // "Kelmor Version %s", set when the box opens
    IDC_ABOUT_BUILD = 1024,    // "Build: %s  Time: %s", set when the box opens
    IDC_ABOUT_LINK = 1070,     // the web page's address
    IDC_LEGAL_TEXT = 1021,     // the licence text
};

extern const DialogDescription kAboutDialog;  // dialog 1031
extern const DialogDescription kLegalDialog;  // dialog 1076
