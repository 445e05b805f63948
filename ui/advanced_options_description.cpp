#include "ui/advanced_options_description.h"

#include "platform/wintypes.h"
#include "ui/command_ids.h"

namespace {

const uint8_t BEHAVIOR = 1 << OPTIONS_BEHAVIOR;
const uint8_t DISPLAY = 1 << OPTIONS_DISPLAY;
const uint8_t RANGES = 1 << OPTIONS_VALUE_RANGES;
const uint8_t LOG = 1 << OPTIONS_LOG;
const uint8_t MOUSE = 1 << OPTIONS_MOUSE;

ControlPlace At(int row, int column) {
    return {0, 0, 0, 0, static_cast<uint8_t>(row), static_cast<uint8_t>(column)};
}

const uint16_t NUMBER = CONTROL_NUMBER | CONTROL_RIGHT;

// Labels stand left of their fields; a field as wide as a path has a row of its own under
// its label, its browse button beside it.
const ControlDescription kControls[] = {
    {IDC_OPTIONS_TABS, CONTROL_TABS, 0, 0, "", At(0, 0)},
    {IDC_MINIMIZE, CONTROL_CHECK_BOX, 0, BEHAVIOR, "&Minimize Kelmor when a recording or playback starts", At(0, 0)},
    {IDC_EXCLUDE_OWN_ACTIONS, CONTROL_CHECK_BOX, 0, BEHAVIOR, "Don't record actions for the Kelmor window", At(1, 0)},
    {IDC_QUIT_WHEN_DONE, CONTROL_CHECK_BOX, 0, BEHAVIOR, "&Quit Kelmor when playback done", At(2, 0)},
    {IDC_HALT_ON_ERROR, CONTROL_CHECK_BOX, 0, BEHAVIOR, "Stop script execution when an error occurs", At(3, 0)},
    {IDC_REMEMBER_PLAYBACK, CONTROL_CHECK_BOX, 0, BEHAVIOR, "&Remember the previous session's playback settings",
     At(4, 0)},
    {IDC_FAST_MAP_PLAY, CONTROL_CHECK_BOX, 0, BEHAVIOR, "Play Keyboard Mappings at fast speed", At(5, 0)},
    {IDC_EDITOR_LABEL, CONTROL_STATIC, 0, BEHAVIOR, "Text &Editor:", At(6, 0)},
    {IDC_EDITOR, CONTROL_EDIT, 0, BEHAVIOR, "", At(7, 0)},
    {IDC_EDITOR_BROWSE, CONTROL_BUTTON, 0, BEHAVIOR, "...", At(7, 1)},
    {IDC_PLAY_UPDATE_LABEL, CONTROL_STATIC, 0, DISPLAY, "Playback Update:", At(0, 0)},
    {IDC_PLAY_UPDATE_NONE, CONTROL_OPTION, CONTROL_GROUP, DISPLAY, "None", At(1, 0)},
    {IDC_PLAY_UPDATE_LOOP, CONTROL_OPTION, 0, DISPLAY, "Show Loop Number in Title Bar", At(2, 0)},
    {IDC_PLAY_UPDATE_ACTION, CONTROL_OPTION, 0, DISPLAY, "Show Action Number / Script Lines in Title Bar", At(3, 0)},
    {IDC_PROMPTS, CONTROL_CHECK_BOX, 0, DISPLAY, "Show Kelmor verification &prompts", At(4, 0)},
    {IDC_INTERRUPT_WARNING, CONTROL_CHECK_BOX, 0, DISPLAY, "Show &warning when Windows interrupts Kelmor", At(5, 0)},
    {IDC_RECENT_SIZE_LABEL, CONTROL_STATIC, 0, DISPLAY, "Recent File List Size:", At(6, 0)},
    {IDC_RECENT_SIZE, CONTROL_EDIT, NUMBER, DISPLAY, "", At(6, 1)},
    {IDC_RECENT_SIZE_ARROWS, CONTROL_SPIN, 0, DISPLAY, "", At(6, 2)},
    {IDC_FAST_FACTOR_LABEL, CONTROL_STATIC, 0, RANGES, "Fast Playback Factor:", At(0, 0)},
    {IDC_FAST_FACTOR, CONTROL_EDIT, NUMBER, RANGES, "", At(0, 1)},
    {IDC_FAST_FACTOR_UNIT, CONTROL_STATIC, 0, RANGES, "X faster than normal speed", At(0, 3)},
    {IDC_SLOW_FACTOR_LABEL, CONTROL_STATIC, 0, RANGES, "Slow Playback Factor:", At(1, 0)},
    {IDC_SLOW_FACTOR, CONTROL_EDIT, NUMBER, RANGES, "", At(1, 1)},
    {IDC_SLOW_FACTOR_UNIT, CONTROL_STATIC, 0, RANGES, "X slower than normal speed", At(1, 3)},
    {IDC_RANDOM_MIN_LABEL, CONTROL_STATIC, 0, RANGES, "M&inimum Random Number:", At(2, 0)},
    {IDC_RANDOM_MIN, CONTROL_EDIT, NUMBER, RANGES, "", At(2, 1)},
    {IDC_RANDOM_MAX_LABEL, CONTROL_STATIC, 0, RANGES, "Ma&ximum Random Number:", At(3, 0)},
    {IDC_RANDOM_MAX, CONTROL_EDIT, NUMBER, RANGES, "", At(3, 1)},
    {IDC_LOOP_BASE_LABEL, CONTROL_STATIC, 0, RANGES, "When typing \"Playback Loop Number\", add to loop #:", At(4, 0)},
    // Signed: the typed loop number may be shifted down.
    {IDC_LOOP_BASE, CONTROL_EDIT, CONTROL_RIGHT, RANGES, "", At(4, 1)},
    {IDC_GOTO_WAIT_LABEL, CONTROL_STATIC, 0, RANGES, "Maximum Retries for GOTO:", At(5, 0)},
    {IDC_GOTO_WAIT, CONTROL_EDIT, NUMBER, RANGES, "", At(5, 1)},
    {IDC_GOTO_WAIT_ARROWS, CONTROL_SPIN, 0, RANGES, "", At(5, 2)},
    {IDC_GOTO_WAIT_UNIT, CONTROL_STATIC, 0, RANGES, "seconds", At(5, 3)},
    {IDC_USER_BUTTON_LABEL, CONTROL_STATIC, 0, RANGES, "&User Toolbar Button:", At(6, 0)},
    {IDC_USER_BUTTON, CONTROL_COMBO, 0, RANGES, "", At(7, 0)},
    // The levels as the slider's marks, top to bottom.
    {IDC_LOG_LEVEL, CONTROL_SLIDER, 0, LOG,
     "HIGH  (May affect performance; programmers only)\nMEDIUM  (Detailed event tracking)\nLOW  (Useful for software "
     "quality assurance testing)\nOFF",
     At(0, 0)},
    {IDC_LOG_FILE_LABEL, CONTROL_STATIC, 0, LOG, "&Log File:", At(1, 0)},
    {IDC_LOG_FILE, CONTROL_EDIT, 0, LOG, "", At(2, 0)},
    {IDC_LOG_FILE_BROWSE, CONTROL_BUTTON, 0, LOG, "...", At(2, 1)},
    {IDC_RESTART_LOG, CONTROL_CHECK_BOX, 0, LOG, "Erase old log when Kelmor starts", At(3, 0)},
    {IDC_POINTER_PICTURE, CONTROL_PICTURE, 0, MOUSE, "", At(0, 0)},
    {IDC_POINTER_HELP, CONTROL_STATIC, 0, MOUSE,
     "Press the mouse button on the picture, hold it and move the pointer over a window: its title and the "
     "pointer's place are shown below.",
     At(0, 1)},
    {IDC_POINTER_RESULT, CONTROL_STATIC, 0, MOUSE, "", At(1, 1)},
    {IDC_IGNORE_CHILDREN, CONTROL_CHECK_BOX, 0, MOUSE, "Ignore c&hild windows (buttons, etc.)", At(2, 1)},
    {IDC_COPY_TEMPLATE, CONTROL_CHECK_BOX, 0, MOUSE, "Copy window &title and script template to Clipboard", At(3, 1)},
    {IDC_OPTIONS_DEFAULTS, CONTROL_BUTTON, 0, 0, "&Defaults", At(0, 0)},
    {IDOK, CONTROL_BUTTON, CONTROL_DEFAULT, 0, "&OK", At(0, 1)},
    {IDCANCEL, CONTROL_BUTTON, 0, 0, "&Cancel", At(0, 2)},
    {IDC_OPTIONS_APPLY, CONTROL_BUTTON, 0, 0, "&Apply", At(0, 3)},
};

// The controls no label names.
const ControlTip kTips[] = {
    {IDC_EDITOR_BROWSE, "Browse for the text editor"},
    {IDC_LOG_FILE_BROWSE, "Browse for the log file"},
    {IDC_LOG_LEVEL, "Log level"},
};

}  // namespace

const char* const kOptionsTabNames[OPTIONS_TAB_COUNT] = {"Behavior", "Display", "Value Ranges", "Log Settings",
                                                         "Mouse Coordinates"};

const DialogDescription kAdvancedOptionsDialog = {ID_ADVANCED_OPTIONS_DIALOG, "Advanced Options", 0, 0, kControls,
                                                  sizeof kControls / sizeof kControls[0], kTips,
                                                  sizeof kTips / sizeof kTips[0]};

const UserCommandChoice kUserCommandChoices[] = {
    {"", 0},
    {"Playback - Use Fast Playback Speed", ID_FAST_SPEED},
    {"Options - Toggle Always on top", ID_TOGGLE_TOPMOST},
    {"File - Reload Current File", ID_RELOAD_FILE},
    {"Recorder - Use Normal Play Configuration", ID_NORMAL_PLAY_SETTINGS},
    {"View - Toggle Tab Interface", ID_SHOW_TABS},
    {"View - Total Number of Actions", ID_DISPLAY_ACTIONS},
    {"Tools - Edit Script File", ID_EDIT_SCRIPT},
    {"Tools - Edit Log File", ID_VIEW_LOG},
    {"Tools - Backup All Settings", ID_BACKUP_ALL},
    {"Tools - Backup Basic Configuration", ID_BACKUP_BASIC},
    {"Tools - Backup Mappings", ID_BACKUP_MAPPINGS},
    {"Tools - Backup ShortTypes", ID_BACKUP_SHORTTYPES},
    {"Tools - Advanced Options Screen", ID_ADVANCED_OPTIONS},
    {"Help - Help File Contents", ID_HELP_CONTENTS},
    {"Help - Script Reference", ID_SCRIPT_REFERENCE},
};
const int kUserCommandChoiceCount = sizeof kUserCommandChoices / sizeof kUserCommandChoices[0];
