#include "ui/pane_description.h"

#include "platform/picture_ids.h"
#include "ui/tab_pages.h"

namespace {

const uint8_t PLAYBACK = 1 << TAB_PLAYBACK;
const uint8_t OPTIONS = 1 << TAB_OPTIONS;
// The keyboard service's two boxes sit on both of its pages.
const uint8_t SERVICE = 1 << TAB_KEYBOARD | 1 << TAB_SHORTTYPE;
const uint8_t KEYBOARD = 1 << TAB_KEYBOARD;
const uint8_t SHORTTYPE = 1 << TAB_SHORTTYPE;

// No positions are given for this dialog: rows and columns of each page.
ControlPlace At(int row, int column) {
    return {0, 0, 0, 0, static_cast<uint8_t>(row), static_cast<uint8_t>(column)};
}

const ControlDescription kControls[] = {
    {IDC_PANE_TABS, CONTROL_TABS, 0, 0, "", At(0, 0)},
    {IDC_SPEED_LABEL, CONTROL_STATIC, 0, PLAYBACK, "Playback Speed:", At(1, 0)},
    {IDC_SPEED_SLOW, CONTROL_OPTION, CONTROL_GROUP, PLAYBACK, "&Slow", At(2, 0)},
    {IDC_SPEED_NORMAL, CONTROL_OPTION, 0, PLAYBACK, "&Normal", At(2, 1)},
    {IDC_SPEED_FAST, CONTROL_OPTION, 0, PLAYBACK, "F&ast", At(3, 0)},
    {IDC_SPEED_FASTEST, CONTROL_OPTION, 0, PLAYBACK, "As Fast As &Possible", At(3, 1)},
    {IDC_REPEAT_LABEL, CONTROL_STATIC, 0, PLAYBACK, "R&epeat:", At(4, 0)},
    {IDC_REPEAT_COUNT, CONTROL_EDIT, CONTROL_NUMBER | CONTROL_RIGHT, PLAYBACK, "", At(4, 1)},
    {IDC_REPEAT_ARROWS, CONTROL_SPIN, 0, PLAYBACK, "", At(4, 2)},
    {IDC_REPEAT_TIMES, CONTROL_STATIC, 0, PLAYBACK, "times", At(4, 3)},
    {IDC_CONTINUOUS, CONTROL_CHECK_BOX, 0, PLAYBACK, "&Continuous", At(5, 0)},
    {IDC_ALWAYS_ON_TOP, CONTROL_CHECK_BOX, 0, OPTIONS, "Al&ways on top", At(1, 0)},
    {IDC_RELOAD, CONTROL_CHECK_BOX, 0, OPTIONS, "Re&load last saved file on startup", At(2, 0)},
    {IDC_PLAY_IMMEDIATELY, CONTROL_CHECK_BOX, 0, OPTIONS, "&Immediately play after File Open", At(3, 0)},
    {IDC_AUTO_START, CONTROL_CHECK_BOX, 0, OPTIONS, "Auto-Start Kelmor with Windows", At(4, 0)},
    {IDC_ADVANCED_OPTIONS, CONTROL_BUTTON, 0, OPTIONS, "Advanced &Options...", At(5, 0)},
    {IDC_ACTIVATE, CONTROL_CHECK_BOX, 0, SERVICE, "&Activate", At(6, 0)},
    {IDC_TRAY_ICON, CONTROL_CHECK_BOX, 0, SERVICE, "Tray &Icon", At(6, 1)},
    // A gadget's text is its tool tip.
    {IDC_KEYS_LABEL, CONTROL_STATIC, 0, KEYBOARD, "&Keys:", At(1, 0)},
    {IDC_KEYS, CONTROL_COMBO, CONTROL_ENTRY | CONTROL_ALL_KEYS, KEYBOARD, "", At(1, 1)},
    {IDC_ACTION_LABEL, CONTROL_STATIC, 0, KEYBOARD, "Action:", At(2, 0)},
    {IDC_ACTION, CONTROL_COMBO, 0, KEYBOARD, "", At(2, 1)},
    {IDC_MAPPING_TEXT, CONTROL_EDIT, CONTROL_MULTILINE, KEYBOARD, "", At(3, 1)},
    {IDC_GADGET_ADD_MAPPING, CONTROL_GADGET, 0, KEYBOARD, "Add Mapping", At(4, 0)},
    {IDC_GADGET_DELETE_MAPPING, CONTROL_GADGET, 0, KEYBOARD, "Delete Mapping", At(4, 1)},
    {IDC_GADGET_MAPPING_HELP, CONTROL_GADGET, 0, KEYBOARD, "How to use \"Keyboard Mappings\"", At(4, 2)},
    {IDC_SHORTTYPE_LABEL, CONTROL_STATIC, 0, SHORTTYPE, "Re&place:", At(1, 0)},
    {IDC_SHORTTYPE, CONTROL_COMBO, CONTROL_ENTRY, SHORTTYPE, "", At(1, 1)},
    {IDC_WITH_LABEL, CONTROL_STATIC, 0, SHORTTYPE, "&with:", At(2, 0)},
    {IDC_REPLACE_TEXT, CONTROL_EDIT, CONTROL_MULTILINE, SHORTTYPE, "", At(2, 1)},
    {IDC_GADGET_ADD_SHORTTYPE, CONTROL_GADGET, 0, SHORTTYPE, "Add ShortType", At(4, 0)},
    {IDC_GADGET_DELETE_SHORTTYPE, CONTROL_GADGET, 0, SHORTTYPE, "Delete ShortType", At(4, 1)},
    {IDC_GADGET_SHORTTYPE_HELP, CONTROL_GADGET, 0, SHORTTYPE, "How to use \"ShortType Abbreviations\"", At(4, 2)},
    {IDC_STATUS, CONTROL_STATIC, CONTROL_CENTER | CONTROL_BOLD, 0, "", At(7, 0)},
    {IDC_BACKGROUND, CONTROL_FRAME, 0, 0, "", At(0, 0)},
};

// Every key pressed in the Keys field is taken as part of a combination, so the way out
// is said where a person looks for it.
const ControlTip kTips[] = {
    {IDC_KEYS, "Press the keys of the Mapping here, e.g. Ctrl + F7 (Backspace starts again). Ctrl+Tab and "
               "Ctrl+Shift+Tab leave the field."},
    {IDC_MAPPING_TEXT, "Text to type, program to launch or recording to play"},
};

}  // namespace

const char* const kPaneTabNames[PANE_TAB_COUNT] = {"Playback", "Options", "Keyboard", "ShortType"};

const DialogDescription kPaneDialog = {ID_PANES, "", 0, 0, kControls, sizeof kControls / sizeof kControls[0],
                                       kTips, sizeof kTips / sizeof kTips[0]};

const GadgetFace kGadgetFaces[] = {
    {IDC_GADGET_ADD_MAPPING, IDB_ADD_MAPPING},         {IDC_GADGET_DELETE_MAPPING, IDB_DELETE_MAPPING},
    {IDC_GADGET_MAPPING_HELP, IDB_HELP_GADGET},        {IDC_GADGET_ADD_SHORTTYPE, IDB_ADD_SHORTTYPE},
    {IDC_GADGET_DELETE_SHORTTYPE, IDB_DELETE_SHORTTYPE}, {IDC_GADGET_SHORTTYPE_HELP, IDB_HELP_GADGET},
};
const int kGadgetCount = sizeof kGadgetFaces / sizeof kGadgetFaces[0];

void ShowPaneTab(int tab) { ShowTabPage(kPaneDialog, tab); }
