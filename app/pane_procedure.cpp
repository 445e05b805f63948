#include "app/pane_procedure.h"


#include "app/advanced_options.h"
#include "app/help_commands.h"
#include "app/mapping_editor.h"
#include "app/service_commands.h"
#include "app/shorttype_editor.h"
#include "app/start_options.h"
#include "app/tray.h"
#include "app/window_options.h"
#include "platform/dialog.h"
#include "player/playback_control.h"
#include "settings/format.h"
#include "settings/settings.h"
#include "ui/command_ids.h"
#include "ui/message_box.h"
#include "ui/pane_description.h"
#include "ui/pane_view.h"

namespace {

// Only this many characters of the repeat count are read, so that no typed number can
// overflow before it is clamped.
const int kRepeatDigits = 7;

const int kSpeedButtons[] = {IDC_SPEED_SLOW, IDC_SPEED_NORMAL, IDC_SPEED_FAST, IDC_SPEED_FASTEST};

int SpeedOfButton(int speed) { return speed >= 1 && speed <= 4 ? speed : 2; }

void PaneSetSpeedButtons(int speed) {
    for (int i = 0; i < 4; ++i) DialogCheck(ID_PANES, kSpeedButtons[i], i + 1 == SpeedOfButton(speed));
}

void PaneEnableRepeatControls(bool enable) {
    DialogEnable(ID_PANES, IDC_REPEAT_COUNT, enable);
    DialogEnable(ID_PANES, IDC_REPEAT_ARROWS, enable);
    DialogEnable(ID_PANES, IDC_REPEAT_TIMES, enable);
}

void PaneFocusSpeedButton(int speed) { DialogFocus(ID_PANES, kSpeedButtons[SpeedOfButton(speed) - 1]); }

void PaneSetStatusText(const char* text) { DialogSetText(ID_PANES, IDC_STATUS, text); }

int PaneGetStatusText(char* out, int size) { return DialogGetText(ID_PANES, IDC_STATUS, out, size); }

void PaneSetRepeatField(const char* text) { DialogSetText(ID_PANES, IDC_REPEAT_COUNT, text); }

void PaneSetContinuousBox(bool checked) { DialogCheck(ID_PANES, IDC_CONTINUOUS, checked); }

int32_t ReadRepeatField() {
    char text[kRepeatDigits + 1];
    DialogGetText(ID_PANES, IDC_REPEAT_COUNT, text, sizeof text);
    int32_t value = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p) value = value * 10 + (*p - '0');
    if (value < 1) return 1;
    return value > MAX_REPEATS ? MAX_REPEATS : value;
}

void SetRepeatField(int32_t repeats) {
    char text[16];
    FormatText(text, sizeof text, "%d", static_cast<int>(repeats));
    DialogSetText(ID_PANES, IDC_REPEAT_COUNT, text);
}

void OnSpeedChosen() {
    gSettings.gbSpeed = 2;
    if (DialogIsChecked(ID_PANES, IDC_SPEED_SLOW)) gSettings.gbSpeed = 1;
    else if (DialogIsChecked(ID_PANES, IDC_SPEED_FAST)) gSettings.gbSpeed = 3;
    else if (DialogIsChecked(ID_PANES, IDC_SPEED_FASTEST)) gSettings.gbSpeed = 4;
    PaneSetSpeedButtons(gSettings.gbSpeed);
    WriteSettingDword("Speed", gSettings.gbSpeed);
}

void OnRepeatArrow(int notification) {
    int32_t repeats = ReadRepeatField();
    if (notification == NOTIFY_SPIN_UP && repeats < MAX_REPEATS) ++repeats;
    if (notification == NOTIFY_SPIN_DOWN && repeats > 1) --repeats;
    SetRepeatField(repeats);
    gSettings.gnRepeats = ReadRepeatField();
    WriteSettingDword("Repeats", static_cast<uint32_t>(gSettings.gnRepeats));
}

void OnContinuous() {
    gSettings.gbContinuous = DialogIsChecked(ID_PANES, IDC_CONTINUOUS) ? 1 : 0;
    PaneEnableRepeatControls(gSettings.gbContinuous == 0);
    WriteSettingDword("Continuous", gSettings.gbContinuous);
}

void OnTabChanged() {
    const int tab = DialogListSelection(ID_PANES, IDC_PANE_TABS);
    if (tab < 0 || tab >= PANE_TAB_COUNT) return;
    ShowPaneTab(tab);
    gSettings.gnLastTab = tab + 1;
}

void Init() {
    for (const char* name : kPaneTabNames) DialogListAdd(ID_PANES, IDC_PANE_TABS, name);
    // The start-up load leaves the tab to the pane, which reads it when it is made.
    const uint32_t lastTab = ReadSettingDword("LastTab", 1);
    const int tab = lastTab >= 1 && lastTab <= PANE_TAB_COUNT ? static_cast<int>(lastTab) - 1 : 0;
    gSettings.gnLastTab = tab + 1;
    DialogListSelect(ID_PANES, IDC_PANE_TABS, tab);
    ShowPaneTab(tab);
    PaneSetSpeedButtons(gSettings.gbSpeed);
    SetRepeatField(gSettings.gnRepeats);
    DialogCheck(ID_PANES, IDC_PLAY_IMMEDIATELY, gSettings.gbPlayImmediately != 0);
    DialogCheck(ID_PANES, IDC_ALWAYS_ON_TOP, gSettings.gbTopmost != 0);
    DialogCheck(ID_PANES, IDC_RELOAD, gSettings.gbReload != 0);
    DialogCheck(ID_PANES, IDC_CONTINUOUS, gSettings.gbContinuous != 0);
    PaneEnableRepeatControls(gSettings.gbContinuous == 0);
    DialogCheck(ID_PANES, IDC_ACTIVATE, gSettings.gbKeyboardService != 0);
    DialogCheck(ID_PANES, IDC_TRAY_ICON, gSettings.gdwShowTrayIcon != 0);
    for (int i = 0; i < kGadgetCount; ++i) DialogSetImage(ID_PANES, kGadgetFaces[i].id, kGadgetFaces[i].bitmap);
    DialogCheck(ID_PANES, IDC_AUTO_START, AutoStartIsOn());
    MappingEditorInit();
    ShortTypeEditorInit();
}

const PaneView kMainWindowPanes = {PaneSetStatusText,    PaneGetStatusText,        PaneSetSpeedButtons,
                                   PaneSetRepeatField,   PaneEnableRepeatControls, PaneSetContinuousBox,
                                   PaneFocusSpeedButton};

}  // namespace

void ShowPanesInMainWindow() { SetPaneView(&kMainWindowPanes); }

void OnShowPanes(int) {
    // The panes are made with the window; made again only when missing, so that no
    // second set ever stands over the first.
    if (!DialogIsOpen(ID_PANES) && !DialogCreate(&kPaneDialog, PaneProcedure)) {
        KelmorMessageBox("Unable to display the main window", "Internal Error", MB_ICONEXCLAMATION);
        return;
    }
    FitMainWindow();
}

void PaneProcedure(int dialog, int message, int control, int notification) {
    if (dialog != ID_PANES) return;
    if (message == DIALOG_INIT) {
        Init();
        return;
    }
    if (MappingEditorCommand(control, notification) || ShortTypeEditorCommand(control, notification)) return;
    switch (control) {
        case IDC_SPEED_SLOW:
        case IDC_SPEED_NORMAL:
        case IDC_SPEED_FAST:
        case IDC_SPEED_FASTEST:
            if (notification == NOTIFY_CLICKED) OnSpeedChosen();
            break;
        case IDC_REPEAT_COUNT:
            // Every notice of the field writes the count, not only a change.
            gSettings.gnRepeats = ReadRepeatField();
            WriteSettingDword("Repeats", static_cast<uint32_t>(gSettings.gnRepeats));
            break;
        case IDC_REPEAT_ARROWS:
            OnRepeatArrow(notification);
            break;
        case IDC_CONTINUOUS:
            OnContinuous();
            break;
        case IDC_RELOAD:
            OnStartOptionBox(ID_PANES, IDC_RELOAD, gSettings.gbReload,
                             gSettings.gbPlayImmediately != 0 && gSettings.gbQuitWhenDone != 0);
            break;
        case IDC_PLAY_IMMEDIATELY:
            OnStartOptionBox(ID_PANES, IDC_PLAY_IMMEDIATELY, gSettings.gbPlayImmediately,
                             gSettings.gbReload != 0 && gSettings.gbQuitWhenDone != 0);
            break;
        case IDC_ALWAYS_ON_TOP:
            SetAlwaysOnTop(DialogIsChecked(ID_PANES, IDC_ALWAYS_ON_TOP));
            break;
        case IDC_ADVANCED_OPTIONS:
            if (notification == NOTIFY_CLICKED) OnAdvancedOptions(ID_ADVANCED_OPTIONS);
            break;
        case IDC_AUTO_START:
            SetAutoStart(DialogIsChecked(ID_PANES, IDC_AUTO_START));
            break;
        case IDC_PANE_TABS:
            if (notification == NOTIFY_CHANGED) OnTabChanged();
            break;
        // A help gadget's topic is its own id.
        case IDC_GADGET_MAPPING_HELP:
        case IDC_GADGET_SHORTTYPE_HELP:
            if (notification == NOTIFY_CLICKED) OpenHelpTopic(control);
            break;
        case IDC_ACTIVATE:
            OnActivateBox();
            break;
        case IDC_TRAY_ICON:
            SetTrayMode(DialogIsChecked(ID_PANES, IDC_TRAY_ICON));
            break;
        default:
            break;
    }
}

bool OnPaneTabKey(int virtualKey, bool ctrl) {
    const int step = virtualKey == VK_NEXT ? 1 : virtualKey == VK_PRIOR ? -1 : 0;
    // In the Keys field the keys are a combination being captured, Ctrl+Page Down too.
    if (!ctrl || step == 0 || gPlayer.ghJournalHook != 0 || DialogGetFocus(ID_PANES) == IDC_KEYS) return false;
    const int current = DialogListSelection(ID_PANES, IDC_PANE_TABS);
    const int tab = current < 0 ? 0 : (current + step + PANE_TAB_COUNT) % PANE_TAB_COUNT;
    DialogListSelect(ID_PANES, IDC_PANE_TABS, tab);
    // Selecting from the program tells the pane nothing by itself; the key does.
    PaneProcedure(ID_PANES, DIALOG_COMMAND, IDC_PANE_TABS, NOTIFY_CHANGED);
    return true;
}
