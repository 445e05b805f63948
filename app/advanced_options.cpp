#include "app/advanced_options.h"

#include <climits>

#include "app/app_state.h"
#include "app/mouse_coordinates.h"
#include "app/start_options.h"
#include "host/mappings.h"
#include "platform/dialog.h"
#include "platform/picture_ids.h"
#include "platform/system.h"
#include "platform/wintypes.h"
#include "recording/recording_file.h"
#include "settings/format.h"
#include "settings/log.h"
#include "settings/recent_files.h"
#include "settings/settings.h"
#include "ui/advanced_options_description.h"
#include "ui/message_box.h"
#include "ui/tab_pages.h"

namespace {

const int D = ID_ADVANCED_OPTIONS_DIALOG;
const int kSliderTop = 3;          // the slider's positions run from HIGH (0) to OFF (3)
const int kRecentArrowsMax = 8;
const int kGotoArrowsMax = 30;
// The longest number a field is read as: a sign and ten digits, then saturated.
const int kNumberChars = 15;

const char kLogFilters[] = "Log Files (*.log)\0*.log\0Text Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0";

struct RegistryBox {
    int control;
    const char* name;  // of the value in the program's key
    uint32_t defaultValue;
};
// The boxes whose settings live only in the store.
const RegistryBox kRegistryBoxes[] = {
    {IDC_RESTART_LOG, "RestartLog", 1},
    {IDC_HALT_ON_ERROR, "HaltScriptOnError", 1},
    {IDC_FAST_MAP_PLAY, "FastMapPlay", 0},
    {IDC_REMEMBER_PLAYBACK, "RememberPlaybackSettings", 1},
};

struct NumberField {
    int control;
    int32_t* setting;
    int32_t defaultValue;
};
// The numbers that are int32 settings, with the Defaults of the Value Ranges page.
const NumberField kNumberFields[] = {
    {IDC_FAST_FACTOR, &gSettings.gnFactorFast, 15}, {IDC_SLOW_FACTOR, &gSettings.gnFactorSlow, 4},
    {IDC_RANDOM_MIN, &gSettings.gnRandomMin, 1000}, {IDC_RANDOM_MAX, &gSettings.gnRandomMax, 9999},
    {IDC_LOOP_BASE, &gSettings.gnLoopTypeBase, 0},
};
const int kGotoWaitDefault = 2;

void SetNumber(int control, long value) {
    char text[24];
    FormatText(text, sizeof text, "%d", static_cast<int>(value));
    DialogSetText(D, control, text);
}

// A sign and digits, saturated at the int32 range; anything after them is ignored and
// nothing at all reads as 0.
int32_t ReadNumber(int control) {
    char text[kNumberChars + 1];
    DialogGetText(D, control, text, sizeof text);
    const char* p = text;
    while (*p == ' ') ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (value <= INT_MAX) value = value * 10 + (*p - '0');
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    return value < INT_MIN ? INT_MIN : static_cast<int32_t>(value);
}

uint8_t ReadByte(int control) {
    const int32_t value = ReadNumber(control);
    return static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

bool Checked(int control) { return DialogIsChecked(D, control); }

int PlayUpdateOfButton(int control) {
    if (control == IDC_PLAY_UPDATE_NONE) return 0;
    return control == IDC_PLAY_UPDATE_ACTION ? 2 : 1;
}

const int kPlayUpdateButtons[] = {IDC_PLAY_UPDATE_NONE, IDC_PLAY_UPDATE_LOOP, IDC_PLAY_UPDATE_ACTION};

void CheckPlayUpdate(int control) {
    for (int button : kPlayUpdateButtons) {
        DialogCheck(D, button, button == control);
    }
}

int CurrentTab() {
    const int tab = DialogListSelection(D, IDC_OPTIONS_TABS);
    return tab >= 0 && tab < OPTIONS_TAB_COUNT ? tab : 0;
}

void ShowTab(int tab) {
    ShowTabPage(kAdvancedOptionsDialog, tab);
    DialogShow(D, IDC_OPTIONS_DEFAULTS, tab != OPTIONS_MOUSE);
}

void Init() {
    for (const char* name : kOptionsTabNames) DialogListAdd(D, IDC_OPTIONS_TABS, name);
    DialogCheck(D, IDC_MINIMIZE, gSettings.gbMinimize != 0);
    DialogCheck(D, IDC_EXCLUDE_OWN_ACTIONS, gSettings.gbExcludeKelmorAction != 0);
    DialogCheck(D, IDC_QUIT_WHEN_DONE, gSettings.gbQuitWhenDone != 0);
    for (const RegistryBox& box : kRegistryBoxes) {
        const uint32_t value = ReadSettingDword(box.name, box.defaultValue);
        DialogCheck(D, box.control, value != 0);
    }
    char editor[256];
    ReadEditorSetting(editor);
    DialogSetText(D, IDC_EDITOR, editor);
    CheckPlayUpdate(gSettings.gbPlayUpdate == 0   ? IDC_PLAY_UPDATE_NONE
                    : gSettings.gbPlayUpdate == 2 ? IDC_PLAY_UPDATE_ACTION
                                                  : IDC_PLAY_UPDATE_LOOP);
    DialogCheck(D, IDC_PROMPTS, gSettings.gbPromptForSave != 0);
    DialogCheck(D, IDC_INTERRUPT_WARNING, gSettings.gbInterruptWarning != 0);
    SetNumber(IDC_RECENT_SIZE, gSettings.gbRecentListSize);
    for (const NumberField& field : kNumberFields) SetNumber(field.control, *field.setting);
    SetNumber(IDC_GOTO_WAIT, gSettings.gbGOTOWait);
    int choice = 0;
    for (int i = 0; i < kUserCommandChoiceCount; ++i) {
        DialogListAdd(D, IDC_USER_BUTTON, kUserCommandChoices[i].text);
        if (kUserCommandChoices[i].id == gSettings.gnUserCommand) choice = i;
    }
    DialogListSelect(D, IDC_USER_BUTTON, choice);
    // A level above HIGH acts as HIGH.
    DialogSetPosition(D, IDC_LOG_LEVEL, gLog.gbLogLevel >= LOG_HIGH ? 0 : kSliderTop - gLog.gbLogLevel);
    DialogSetText(D, IDC_LOG_FILE, gLog.gszLogFile);
    DialogSetImage(D, IDC_POINTER_PICTURE, IDB_MOUSE_TOOL);
    DialogCheck(D, IDC_IGNORE_CHILDREN, true);
    DialogCheck(D, IDC_COPY_TEMPLATE, false);
    // A stored tab out of range opens the nearest one.
    int tab = static_cast<int>(gSettings.gbLastOptionsTab) - 1;
    tab = tab < 0 ? 0 : tab >= OPTIONS_TAB_COUNT ? OPTIONS_TAB_COUNT - 1 : tab;
    DialogListSelect(D, IDC_OPTIONS_TABS, tab);
    ShowTab(tab);
    DialogEnable(D, IDC_OPTIONS_APPLY, false);
}

void OnEraseLogBox() {
    if (!Checked(IDC_RESTART_LOG)) return;
    const int answer =
        KelmorMessageBox("Do you want to erase the log right now?", "Erase Log", MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) return;
    DialogGetText(D, IDC_LOG_FILE, gLog.gszLogFile, sizeof gLog.gszLogFile);
    // Only a regular file that the program made as its log, and no other running program
    // holds as its log, is erased.
    EraseLogNow();
}

void OnBrowse(int field, const char* filters, bool save) {
    char name[MAX_PATH];
    DialogGetText(D, field, name, sizeof name);
    if (ChooseFileName(name, filters, save, 1) != 0) DialogSetText(D, field, name);
}

void OnMinimizeBox() {
    if (!Checked(IDC_MINIMIZE) || gMappings.gbStopRecordingKey != 0) return;
    KelmorMessageBox("If you choose the \"Minimize\" option, you should also choose a key to stop recordings.\n"
                     "Right now you do not have a stop recording key selected.\n\nGo to tab #3 (\"Keyboard\") to "
                     "choose a key.",
                     "Kelmor Warning", MB_ICONEXCLAMATION);
}

void LoadTabDefaults(int tab) {
    const int answer = KelmorMessageBox("Are you sure that you want to load the default settings for this tab?",
                                        "Load Defaults", MB_YESNO | MB_ICONEXCLAMATION);
    if (answer != IDYES) return;
    if (tab == OPTIONS_BEHAVIOR) {
        DialogCheck(D, IDC_EXCLUDE_OWN_ACTIONS, true);
        DialogCheck(D, IDC_QUIT_WHEN_DONE, false);
        DialogCheck(D, IDC_MINIMIZE, false);
        DialogCheck(D, IDC_REMEMBER_PLAYBACK, true);
        DialogCheck(D, IDC_HALT_ON_ERROR, true);
        DialogSetText(D, IDC_EDITOR, kDefaultEditor);
        DialogCheck(D, IDC_FAST_MAP_PLAY, false);
    } else if (tab == OPTIONS_DISPLAY) {
        DialogCheck(D, IDC_PROMPTS, true);
        DialogCheck(D, IDC_INTERRUPT_WARNING, true);
        CheckPlayUpdate(IDC_PLAY_UPDATE_LOOP);
        SetNumber(IDC_RECENT_SIZE, 8);
    } else if (tab == OPTIONS_VALUE_RANGES) {
        for (const NumberField& field : kNumberFields) SetNumber(field.control, field.defaultValue);
        SetNumber(IDC_GOTO_WAIT, kGotoWaitDefault);
    } else if (tab == OPTIONS_LOG) {
        char path[sizeof gLog.gszLogFile];
        if (!SysDefaultLogPath(path, sizeof path)) path[0] = '\0';
        DialogSetText(D, IDC_LOG_FILE, path);
        DialogCheck(D, IDC_RESTART_LOG, true);
        DialogSetPosition(D, IDC_LOG_LEVEL, kSliderTop);
    }
}

void ApplyLogLevel() {
    const int position = DialogGetPosition(D, IDC_LOG_LEVEL);
    gLog.gbLogLevel = static_cast<uint8_t>(position > kSliderTop ? 0 : kSliderTop - (position < 0 ? 0 : position));
    static const char* const kLevelNames[] = {"", "LOW", "MEDIUM", "HIGH"};
    // Written even when the level stays: the line marks where the tracing starts again.
    if (gLog.gbLogLevel != LOG_OFF) WriteLogLine(gLog.gszLogFile, "Log level set to %s", kLevelNames[gLog.gbLogLevel]);
}

void Apply() {
    gSettings.gbPlayUpdate = static_cast<uint8_t>(Checked(IDC_PLAY_UPDATE_NONE)     ? 0
                                                  : Checked(IDC_PLAY_UPDATE_ACTION) ? 2
                                                                                    : 1);
    gSettings.gbExcludeKelmorAction = Checked(IDC_EXCLUDE_OWN_ACTIONS) ? 1 : 0;
    gSettings.gbQuitWhenDone = Checked(IDC_QUIT_WHEN_DONE) ? 1 : 0;
    gSettings.gbPromptForSave = Checked(IDC_PROMPTS) ? 1 : 0;
    gSettings.gbMinimize = Checked(IDC_MINIMIZE) ? 1 : 0;
    gSettings.gbInterruptWarning = Checked(IDC_INTERRUPT_WARNING) ? 1 : 0;
    const uint8_t recentSize = ReadByte(IDC_RECENT_SIZE);
    if (recentSize != gSettings.gbRecentListSize) {
        RebuildRecentMenu(true, false);
        gSettings.gbRecentListSize = recentSize > 7 ? 8 : recentSize;
        RebuildRecentMenu(false, true);
    }
    char text[256];
    DialogGetText(D, IDC_EDITOR, text, sizeof text);
    WriteSettingText("Editor", text[0] != '\0' ? text : kDefaultEditor);
    for (const NumberField& field : kNumberFields) *field.setting = ReadNumber(field.control);
    if (gSettings.gnFactorFast < 1) gSettings.gnFactorFast = 1;
    if (gSettings.gnFactorSlow < 1) gSettings.gnFactorSlow = 1;
    if (gSettings.gnRandomMax < gSettings.gnRandomMin) {
        gSettings.gnRandomMax = gSettings.gnRandomMin < INT_MAX ? gSettings.gnRandomMin + 1 : gSettings.gnRandomMin;
    }
    gSettings.gbGOTOWait = ReadByte(IDC_GOTO_WAIT);
    DialogGetText(D, IDC_LOG_FILE, gLog.gszLogFile, sizeof gLog.gszLogFile);
    for (const RegistryBox& box : kRegistryBoxes) {
        if (box.control != IDC_REMEMBER_PLAYBACK) WriteSettingDword(box.name, Checked(box.control) ? 1 : 0);
    }
    ApplyLogLevel();
    WriteSettingDword("RememberPlaybackSettings", Checked(IDC_REMEMBER_PLAYBACK) ? 1 : 0);
    const int choice = DialogListSelection(D, IDC_USER_BUTTON);
    if (choice >= 0 && choice < kUserCommandChoiceCount) gSettings.gnUserCommand = kUserCommandChoices[choice].id;
}

void OnArrow(int field, int notification, int highest) {
    int32_t value = ReadNumber(field);
    if (notification == NOTIFY_SPIN_UP && value < INT_MAX) ++value;
    if (notification == NOTIFY_SPIN_DOWN && value > INT_MIN) --value;
    SetNumber(field, value < 0 ? 0 : value > highest ? highest : value);
}

void Close(int result) {
    gSettings.gbLastOptionsTab = static_cast<uint8_t>(CurrentTab() + 1);
    DialogEnd(D, result);
}

void OnCommand(int control, int notification) {
    switch (control) {
        case IDC_RESTART_LOG:
            OnEraseLogBox();
            break;
        case IDC_LOG_FILE_BROWSE:
            OnBrowse(IDC_LOG_FILE, kLogFilters, true);
            break;
        // A program to start is one that exists: chosen as a file to open.
        case IDC_EDITOR_BROWSE:
            OnBrowse(IDC_EDITOR, kProgramFilters, false);
            break;
        case IDC_PLAY_UPDATE_NONE:
        case IDC_PLAY_UPDATE_LOOP:
        case IDC_PLAY_UPDATE_ACTION:
            gSettings.gbPlayUpdate = static_cast<uint8_t>(PlayUpdateOfButton(control));
            CheckPlayUpdate(control);
            break;
        case IDC_MINIMIZE:
            OnMinimizeBox();
            break;
        case IDC_QUIT_WHEN_DONE:
            OnStartOptionBox(D, control, gSettings.gbQuitWhenDone,
                             gSettings.gbReload != 0 && gSettings.gbPlayImmediately != 0);
            break;
        case IDC_OPTIONS_DEFAULTS:
            LoadTabDefaults(CurrentTab());
            break;
        case IDCANCEL:
            Close(IDCANCEL);
            break;
        case IDOK:
            Apply();
            Close(IDOK);
            break;
        case IDC_OPTIONS_APPLY:
            Apply();
            DialogEnable(D, IDC_OPTIONS_APPLY, false);
            break;
        case IDC_RECENT_SIZE_ARROWS:
            OnArrow(IDC_RECENT_SIZE, notification, kRecentArrowsMax);
            break;
        case IDC_GOTO_WAIT_ARROWS:
            OnArrow(IDC_GOTO_WAIT, notification, kGotoArrowsMax);
            break;
        default:
            break;
    }
}

}  // namespace

void OnAdvancedOptions(int) {
    gApp.gbOptionsOpen = true;
    DialogRun(&kAdvancedOptionsDialog, AdvancedOptionsProcedure);
    gApp.gbOptionsOpen = false;
}

int CurrentOptionsTab() { return gApp.gbOptionsOpen ? CurrentTab() : -1; }

void AdvancedOptionsProcedure(int dialog, int message, int control, int notification) {
    if (dialog != D) return;
    if (message == DIALOG_INIT) {
        Init();
        return;
    }
    if (control == IDC_OPTIONS_TABS) {
        if (notification == NOTIFY_CHANGED) ShowTab(CurrentTab());
        return;
    }
    // The tool's picture is pressed and dragged, not a command: nothing to apply.
    if (control == IDC_POINTER_PICTURE) {
        if (notification == NOTIFY_CLICKED) MouseToolPressed(D);
        else if (notification == NOTIFY_POINTER_MOVED) MouseToolMoved(D);
        else if (notification == NOTIFY_POINTER_RELEASED) MouseToolReleased(D);
        return;
    }
    DialogEnable(D, IDC_OPTIONS_APPLY, true);
    OnCommand(control, notification);
}
