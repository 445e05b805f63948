#include "ui/small_dialog_description.h"

#include "platform/wintypes.h"
#include "ui/command_ids.h"

namespace {

ControlPlace At(int row, int column) {
    return {0, 0, 0, 0, static_cast<uint8_t>(row), static_cast<uint8_t>(column)};
}

const ControlDescription kAboutControls[] = {
    {IDC_ABOUT_LOGO, CONTROL_PICTURE, 0, 0, "", At(0, 0)},
    {IDC_ABOUT_VERSION, CONTROL_STATIC, 0, 0, "", At(0, 1)},
    {IDC_ABOUT_BUILD, CONTROL_STATIC, 0, 0, "", At(1, 1)},
    {IDC_ABOUT_LINK, CONTROL_LINK, 0, 0, "", At(2, 1)},
    {IDOK, CONTROL_BUTTON, CONTROL_DEFAULT | CONTROL_RIGHT, 0, "OK", At(3, 1)},
};

const ControlDescription kLegalControls[] = {
    {IDC_LEGAL_TEXT, CONTROL_STATIC, CONTROL_MULTILINE, 0, "", At(0, 0)},
    {IDOK, CONTROL_BUTTON, CONTROL_DEFAULT, 0, "OK", At(1, 0)},
    {IDCANCEL, CONTROL_BUTTON, 0, 0, "Cancel", At(1, 1)},
};

// The licence is a long text of its own, named by what it is.
const ControlTip kLegalTips[] = {{IDC_LEGAL_TEXT, "License"}};

}  // namespace

const DialogDescription kAboutDialog = {ID_ABOUT, "About Kelmor", 0, 0, kAboutControls,
                                        sizeof kAboutControls / sizeof kAboutControls[0], nullptr, 0};
const DialogDescription kLegalDialog = {ID_LEGAL, "Legal Agreement", 0, 0, kLegalControls,
                                        sizeof kLegalControls / sizeof kLegalControls[0], kLegalTips, 1};
