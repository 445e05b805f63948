// The main panes as data: one child dialog under the toolbar holding a tab strip, the
// controls of its four pages, and the status line all pages share.
#pragma once
#include "platform/dialog.h"

enum PaneControlId {
    ID_PANES = 1040,  // the pane dialog itself
    IDC_SPEED_LABEL = 1158,
    IDC_SPEED_SLOW = 1025,
    IDC_SPEED_NORMAL = 1026,
    IDC_SPEED_FAST = 1028,
    IDC_SPEED_FASTEST = 1029,
    IDC_REPEAT_LABEL = 1159,
    IDC_REPEAT_COUNT = 1034,
    IDC_REPEAT_ARROWS = 1033,
    IDC_REPEAT_TIMES = 1160,
    IDC_CONTINUOUS = 1090,
    IDC_ALWAYS_ON_TOP = 1053,
    IDC_RELOAD = 1055,
    IDC_PLAY_IMMEDIATELY = 1045,
    IDC_AUTO_START = 1052,
    IDC_ADVANCED_OPTIONS = 1117,
    IDC_ACTIVATE = 1136,
    IDC_TRAY_ICON = 1123,
    // The gadgets: small picture buttons beside the Keyboard and ShortType editors.
    IDC_GADGET_ADD_MAPPING = 1126,
    IDC_GADGET_DELETE_MAPPING = 1127,
    IDC_GADGET_MAPPING_HELP = 1148,
    IDC_GADGET_ADD_SHORTTYPE = 1138,
    IDC_GADGET_DELETE_SHORTTYPE = 1139,
    IDC_GADGET_SHORTTYPE_HELP = 1147,
    // The Keyboard tab's Mapping editor and the ShortType tab's editor.
    IDC_KEYS_LABEL = 1161,
    IDC_KEYS = 1122,  // the Mappings, and the field a key combination is captured in
    IDC_ACTION_LABEL = 1162,
    IDC_ACTION = 1085,
    IDC_MAPPING_TEXT = 1124,
    IDC_SHORTTYPE_LABEL = 1163,
    IDC_SHORTTYPE = 1038,  // the ShortTypes, and the field an abbreviation is typed in
    IDC_WITH_LABEL = 1164,
    IDC_REPLACE_TEXT = 1125,
    IDC_STATUS = 1069,
    IDC_BACKGROUND = 1169,
    IDC_PANE_TABS = 1724,
};

// The pages of the tab strip, in order; bit n of a control's `pages` is page n.
enum PaneTab { TAB_PLAYBACK, TAB_OPTIONS, TAB_KEYBOARD, TAB_SHORTTYPE, PANE_TAB_COUNT };
extern const char* const kPaneTabNames[PANE_TAB_COUNT];

extern const DialogDescription kPaneDialog;

// The bitmap (ui/icon_ids.h) each gadget shows.
struct GadgetFace {
    uint16_t id;
    uint16_t bitmap;
};
extern const GadgetFace kGadgetFaces[];
extern const int kGadgetCount;

// Shows the controls of one page and hides those of the others; the tab strip, the
// status line and the background stay as they are.
void ShowPaneTab(int tab);
