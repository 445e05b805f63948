// The Advanced Options dialog as data: five pages of settings that have no place on the
// main panes, and the choices of the User Command button.
#pragma once
#include "platform/dialog.h"

enum AdvancedOptionsId {
    ID_ADVANCED_OPTIONS_DIALOG = 1078,
    IDC_OPTIONS_TABS = 1725,
    IDC_OPTIONS_APPLY = 1017,
    IDC_OPTIONS_DEFAULTS = 1016,
    // Behavior
    IDC_MINIMIZE = 1049,
    IDC_EXCLUDE_OWN_ACTIONS = 1043,
    IDC_QUIT_WHEN_DONE = 1044,
    IDC_HALT_ON_ERROR = 1145,
    IDC_REMEMBER_PLAYBACK = 1129,
    IDC_FAST_MAP_PLAY = 1141,
    IDC_EDITOR_LABEL = 1172,
    IDC_EDITOR = 1110,
    IDC_EDITOR_BROWSE = 1111,
    // Display
    IDC_PLAY_UPDATE_LABEL = 1173,
    IDC_PLAY_UPDATE_NONE = 1157,
    IDC_PLAY_UPDATE_LOOP = 1155,
    IDC_PLAY_UPDATE_ACTION = 1156,
    IDC_PROMPTS = 1047,
    IDC_INTERRUPT_WARNING = 1050,
    IDC_RECENT_SIZE_LABEL = 1174,
    IDC_RECENT_SIZE = 1041,
    IDC_RECENT_SIZE_ARROWS = 1137,
    // Value Ranges
    IDC_FAST_FACTOR_LABEL = 1175,
    IDC_FAST_FACTOR = 1028,
    IDC_FAST_FACTOR_UNIT = 1176,
    IDC_SLOW_FACTOR_LABEL = 1177,
    IDC_SLOW_FACTOR = 1025,
    IDC_SLOW_FACTOR_UNIT = 1178,
    IDC_RANDOM_MIN_LABEL = 1179,
    IDC_RANDOM_MIN = 1037,
    IDC_RANDOM_MAX_LABEL = 1180,
    IDC_RANDOM_MAX = 1039,
    IDC_LOOP_BASE_LABEL = 1181,
    IDC_LOOP_BASE = 1042,
    IDC_GOTO_WAIT_LABEL = 1182,
    IDC_GOTO_WAIT = 1168,
    IDC_GOTO_WAIT_ARROWS = 1166,
    IDC_GOTO_WAIT_UNIT = 1183,
    IDC_USER_BUTTON_LABEL = 1184,
    IDC_USER_BUTTON = 1121,
    // Log Settings
    IDC_LOG_LEVEL = 1113,
    IDC_LOG_FILE_LABEL = 1185,
    IDC_LOG_FILE = 1107,
    IDC_LOG_FILE_BROWSE = 1108,
    IDC_RESTART_LOG = 1100,
    // Mouse Coordinates
    IDC_POINTER_PICTURE = 1114,
    IDC_POINTER_RESULT = 1115,
    IDC_POINTER_HELP = 1116,
    IDC_IGNORE_CHILDREN = 1119,
    IDC_COPY_TEMPLATE = 1120,
};

enum OptionsTab {
    OPTIONS_BEHAVIOR,
    OPTIONS_DISPLAY,
    OPTIONS_VALUE_RANGES,
    OPTIONS_LOG,
    OPTIONS_MOUSE,
    OPTIONS_TAB_COUNT
};
extern const char* const kOptionsTabNames[OPTIONS_TAB_COUNT];

extern const DialogDescription kAdvancedOptionsDialog;

// What the User Command button can be set to, in list order; the first, empty, is none.
struct UserCommandChoice {
    const char* text;
    int id;
};
extern const UserCommandChoice kUserCommandChoices[];
extern const int kUserCommandChoiceCount;
