// The small dialogs as data: the About box, the Legal Agreement, and the gadget buttons
// the Keyboard and ShortType pages place beside their fields.
#pragma once
#include <cstdint>

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

struct GadgetDescription {
    uint16_t id;  // control id, also the command a click sends to the pane
    uint8_t pages;  // bit n: page n of the pane's tab strip
    uint16_t bitmap;
    uint16_t cursor;
    const char* tip;
};
extern const GadgetDescription kGadgets[];
extern const int kGadgetCount;
