#include "ui/small_dialog_description.h"

#include "platform/wintypes.h"
#include "ui/command_ids.h"
#include "ui/pane_description.h"

namespace {

ControlPlace At(int row, int column) {
    return {0, 0, 0, 0, static_cast<uint8_t>(row), static_cast<uint8_t>(column)};
}

const ControlDescription kAboutControls[] = {
    {IDC_ABOUT_LOGO, CONTROL_PICTURE, 0, 0, "", At(0, 0)},
    {IDC_ABOUT_VERSION, CONTROL_STATIC, 0, 0, "", At(0, 1)},
    {IDC_ABOUT_BUILD, CONTROL_STATIC, 0, 0, "", At(1, 1)},
    {IDC_ABOUT_LINK, CONTROL_LINK, 0, 0, "", At(2, 1)},
    {IDOK, CONTROL_BUTTON, CONTROL_DEFAULT, 0, "OK", At(3, 1)},
};

const ControlDescription kLegalControls[] = {
    {IDC_LEGAL_TEXT, CONTROL_STATIC, CONTROL_MULTILINE, 0, "", At(0, 0)},
    {IDOK, CONTROL_BUTTON, CONTROL_DEFAULT, 0, "OK", At(1, 0)},
    {IDCANCEL, CONTROL_BUTTON, 0, 0, "Cancel", At(1, 1)},
};

const uint16_t kHandCursor = 1020;
const uint8_t KEYBOARD = 1 << TAB_KEYBOARD;
const uint8_t SHORTTYPE = 1 << TAB_SHORTTYPE;

}  // namespace

const DialogDescription kAboutDialog = {ID_ABOUT, "About Kelmor", 0, 0, kAboutControls,
                                        sizeof kAboutControls / sizeof kAboutControls[0]};
const DialogDescription kLegalDialog = {ID_LEGAL, "Legal Agreement", 0, 0, kLegalControls,
                                        sizeof kLegalControls / sizeof kLegalControls[0]};

const GadgetDescription kGadgets[] = {
    {1126, KEYBOARD, 1008, kHandCursor, "Add Mapping"},
    {1127, KEYBOARD, 1013, kHandCursor, "Delete Mapping"},
    {1148, KEYBOARD, 1015, kHandCursor, "How to use \"Keyboard Mappings\""},
    {1138, SHORTTYPE, 1007, kHandCursor, "Add ShortType"},
    {1139, SHORTTYPE, 1014, kHandCursor, "Delete ShortType"},
    {1147, SHORTTYPE, 1015, kHandCursor, "How to use \"ShortType Abbreviations\""},
};
const int kGadgetCount = sizeof kGadgets / sizeof kGadgets[0];
