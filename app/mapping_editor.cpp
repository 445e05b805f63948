#include "app/mapping_editor.h"

#include <cstring>

#include "app/app_state.h"
#include "app/service_commands.h"
#include "host/mappings.h"
#include "host/service_control.h"
#include "platform/dialog.h"
#include "platform/wintypes.h"
#include "recording/recording_file.h"
#include "script/key_names.h"
#include "settings/format.h"
#include "settings/log.h"
#include "settings/service_store.h"
#include "settings/settings.h"
#include "ui/message_box.h"
#include "ui/pane_description.h"
#include "ui/platform_wording.h"

namespace {

const int kActionCount = 13;
const char* const kActionTexts[kActionCount] = {
    "",
    "Start Recording",
    "Stop Recording",
    "Playback",
    "Activate the Kelmor window",
    "   (Type the text below:)",
    "   (Launch the program below:)",
    "   (Play the recorded file below:)",
    "Replace with play loop # during playback",
    "Replace with random number during playback",
    "Replace with time during playback",
    "Replace with date & time during playback",
    "Replace with time/number during playback",
};

const int kCaptureSize = 64;     // the capture field's text: 63 characters
const int kTextSize = 256;       // a Mapping's Text: 255 characters
const int kListTextShown = 23;   // a longer Text shows cut, with "..."
// The widest the lists open to show their entries, in pixels.
const int kKeysDropDownLimit = 200;
const int kActionDropDownLimit = 300;

const uint32_t kRefusal = MB_OK | MB_ICONEXCLAMATION;
const uint32_t kWarning = MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2;
const char kMissing[] = "Missing Information";
const char kConflict[] = "Mapping Conflict";
const char kReserved[] =
    "You have chosen a key combination for a Mapping that is reserved for a common Windows function.\n\nPlease "
    "choose a different combination.";
const char kEditingKeys[] =
    "You have chosen a key combination for a Mapping that is reserved for a common Windows function.  This will "
    "remove your ability to use these special combinations in other programs.\n\nIt is recommended that you use "
    "different multiple key combinations such as \"Ctrl + Shift + F7\"\n\nAre you sure that you want to continue?";

bool IsTextAction(int action) { return action >= ACTION_TYPE_TEXT && action <= ACTION_PLAY_FILE; }

bool IsSingleKeyAction(int action) { return action == ACTION_STOP_RECORDING || action >= ACTION_REPLACE_LOOP; }

void Append(char* out, int size, const char* text) {
    const int used = static_cast<int>(strlen(out));
    FormatText(out + used, size - used, "%s", text);
}

// Removes every modifier prefix, in place.
void RemovePrefixes(char* text) {
    for (const char* prefix : kModifierPrefixes) {
        const size_t length = strlen(prefix);
        for (char* p = strstr(text, prefix); p != nullptr; p = strstr(text, prefix)) {
            memmove(p, p + length, strlen(p + length) + 1);
        }
    }
}

void MappingEntry(int vk, char* out, int size) {
    char text[kTextSize];
    ReadMappingText(vk, text);
    const int action = gMappings.gbMapAction[vk];
    KeyCombinationText(vk, gMappings.gbMapCtrl[vk] != 0, gMappings.gbMapShift[vk] != 0, gMappings.gbMapAlt[vk] != 0,
                       out, size);
    Append(out, size, " = ");
    if (!IsTextAction(action)) {
        Append(out, size, kActionTexts[action]);
    } else if (strlen(text) >= kListTextShown) {
        char shown[kListTextShown + 8];
        // The program's formatter takes the precision only as digits.
        FormatText(shown, sizeof shown, "\"%.23s...\"", text);
        Append(out, size, shown);
    } else {
        char shown[kTextSize + 2];
        FormatText(shown, sizeof shown, "\"%s\"", text);
        Append(out, size, shown);
    }
    FlattenLines(out);
}

void FillKeysList() {
    ResetEditorList(IDC_KEYS);
    ReadMappings();
    for (int vk = 0; vk < 255; ++vk) {
        if (gMappings.gbMapAction[vk] == 0) continue;
        char entry[kTextSize + 64];
        MappingEntry(vk, entry, sizeof entry);
        DialogListAdd(ID_PANES, IDC_KEYS, entry);
        LogAt(LOG_HIGH, "Adding Mapping for key %d: Action %d: \"%s\"", vk, gMappings.gbMapAction[vk], entry);
    }
    DialogFitDropDown(ID_PANES, IDC_KEYS, kKeysDropDownLimit);
}

void OnKey(int vk) {
    char text[kCaptureSize] = "";
    if (!gApp.gbKeyComplete) DialogGetText(ID_PANES, IDC_KEYS, text, sizeof text);
    if (gApp.gbKeyComplete) DialogGetText(ID_PANES, IDC_KEYS, gApp.gszReplaced, sizeof gApp.gszReplaced);
    if (vk == VK_BACK) {
        gApp.gbKeyComplete = false;
        gApp.gszReplaced[0] = '\0';
        DialogSetText(ID_PANES, IDC_KEYS, "");
        return;
    }
    // Both keys of a pair count as the modifier.
    const int modifier = vk == VK_SHIFT || vk == 160 || vk == 161   ? 1
                         : vk == VK_CONTROL || vk == 162 || vk == 163 ? 0
                         : vk == VK_MENU || vk == 164 || vk == VK_RMENU ? 2
                                                                        : -1;
    if (modifier >= 0) {
        static const char* const kWords[] = {"Ctrl", "Shift", "Alt"};
        if (strstr(text, kWords[modifier]) == nullptr) Append(text, sizeof text, kModifierPrefixes[modifier]);
        gApp.gbKeyComplete = false;
    } else {
        char name[32];
        KeyCodeToName(vk, name, sizeof name);
        if (name[0] == '\0') return;
        Append(text, sizeof text, name);
        gApp.gbKeyComplete = true;
        gApp.gszReplaced[0] = '\0';
    }
    DialogSetText(ID_PANES, IDC_KEYS, text);
}

// The focus left the field: modifiers pressed only on the way out leave the combination
// as it was.
void OnLeft() {
    if (gApp.gbKeyComplete || gApp.gszReplaced[0] == '\0') return;
    DialogSetText(ID_PANES, IDC_KEYS, gApp.gszReplaced);
    gApp.gbKeyComplete = true;
    gApp.gszReplaced[0] = '\0';
}

void OnActionChosen() {
    const int action = DialogListSelection(ID_PANES, IDC_ACTION);
    if (action <= 0) return;
    if (!IsTextAction(action)) {
        DialogSetText(ID_PANES, IDC_MAPPING_TEXT, "");
        DialogEnable(ID_PANES, IDC_MAPPING_TEXT, false);
        return;
    }
    DialogEnable(ID_PANES, IDC_MAPPING_TEXT, true);
    if (action == ACTION_TYPE_TEXT) return;
    char name[MAX_PATH];
    DialogGetText(ID_PANES, IDC_MAPPING_TEXT, name, kTextSize);
    if (ChooseFileName(name, action == ACTION_LAUNCH_PROGRAM ? kProgramFilters : kOpenFilters, false, 1) == 1) {
        DialogSetText(ID_PANES, IDC_MAPPING_TEXT, name);
    }
}

void OnMappingChosen() {
    const int index = DialogListSelection(ID_PANES, IDC_KEYS);
    if (index <= 0) return;
    gApp.gbKeyComplete = true;
    gApp.gszReplaced[0] = '\0';
    char entry[kTextSize + 64];
    DialogListGetText(ID_PANES, IDC_KEYS, index, entry, sizeof entry);
    DialogSetText(ID_PANES, IDC_KEYS, entry);
    RemovePrefixes(entry);
    const int vk = KeyNameToCode(entry);
    const uint32_t action = ReadMappingValue(vk, "Action");
    DialogListSelect(ID_PANES, IDC_ACTION, action < kActionCount ? static_cast<int>(action) : -1);
    if (IsTextAction(static_cast<int>(action))) {
        char text[kTextSize];
        ReadMappingText(vk, text);
        DialogSetText(ID_PANES, IDC_MAPPING_TEXT, text);
    }
    OnActionChosen();
}

bool Refuse(const char* text, const char* caption, int focus) {
    KelmorMessageBox(text, caption, kRefusal);
    if (focus != 0) DialogFocus(ID_PANES, focus);
    return false;
}

bool Warn(const char* text) { return KelmorMessageBox(text, kConflict, kWarning) == IDYES; }

// The checks that keep a combination from clashing with the system or with typing.
bool CombinationAllowed(int vk, bool ctrl, bool shift, bool alt) {
    const bool alphanumeric = vk == ' ' || (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9');
    if (!alt && !ctrl && alphanumeric) {
        return Warn(
            "You have chosen an alpha-numeric key (A-Z, 0-9) for a Mapping.  This will MOST LIKELY CAUSE A CONFLICT "
            "and you will not be able to type in any program!\n\nIt is recommended that you use a more complex key "
            "combination such as \"Ctrl + Shift + F7\"\n\nAre you sure that you want to continue?");
    }
    if (shift && ((vk >= 96 && vk <= 105) || vk == 110)) {
        return Refuse("The Number KeyPad produces movement keys when combined with the SHIFT key, such as End  "
                      "(Shift + Num1) or Page Up  (Shift + Num9).\n\nFor this reason, these key combinations cannot "
                      "used for Mappings.\n\nPlease choose a different combination.",
                      kConflict, 0);
    }
    if (ctrl && vk == 19) {
        return Refuse("The PAUSE key cannot be mapped with the CONTROL key.\n\nPlease choose a different "
                      "combination, such as Shift + PAUSE or Alt + PAUSE.",
                      kConflict, 0);
    }
    if ((ctrl && alt && !shift && vk == 46) || (ctrl && !shift && !alt && vk == 27) || vk == 91 || vk == 92 ||
        vk == 93 || vk == VK_BACK) {
        return Refuse(PlatformText(kReserved), kConflict, 0);
    }
    if (ctrl && !shift && !alt && (vk == 'Z' || vk == 'X' || vk == 'C' || vk == 'V')) {
        return Warn(PlatformText(kEditingKeys));
    }
    if (!ctrl && !shift && !alt) {
        return Warn(
            "You have chosen a single key for a Mapping.  This may conflict with other programs' use of special "
            "keys.\n\nIt is recommended that you use multiple key combinations such as \"Ctrl + Shift + F7\"\n\nAre "
            "you sure that you want to continue?");
    }
    return true;
}

bool AddMapping(char* keys) {
    if (!gApp.gbKeyComplete) {
        return Refuse("The last key for this Mapping cannot be Alt, Shift, or Ctrl.\n\nPlease choose a final key for "
                      "this sequence.",
                      kMissing, IDC_KEYS);
    }
    const int action = DialogListSelection(ID_PANES, IDC_ACTION);
    if (action <= 0) return Refuse("Please choose an \"Action\" for this Mapping", kMissing, IDC_ACTION);
    const bool ctrl = strstr(keys, "Ctrl +") != nullptr;
    const bool shift = strstr(keys, "Shift +") != nullptr;
    const bool alt = strstr(keys, "Alt +") != nullptr;
    RemovePrefixes(keys);
    if (IsSingleKeyAction(action) && (ctrl || shift || alt)) {
        return Refuse("The \"Stop Recording\" and \"Replace\" Mapping actions must be a single key  (without Ctrl, "
                      "Shift, or Alt combinations)",
                      kMissing, IDC_KEYS);
    }
    const int vk = KeyNameToCode(keys);
    char name[32];
    if (action == ACTION_STOP_RECORDING && gMappings.gbStopRecordingKey != 0) {
        KeyCodeToName(gMappings.gbStopRecordingKey, name, sizeof name);
        KelmorMessageBoxF(kConflict, kRefusal,
                          "Only one key can be mapped to \"Stop Recording\", and the '%s' key is already mapped to "
                          "it.\n\nPlease delete the '%s' key mapping first.",
                          name, name);
        return false;
    }
    if (!IsSingleKeyAction(action) && !CombinationAllowed(vk, ctrl, shift, alt)) return false;
    char text[kTextSize];
    DialogGetText(ID_PANES, IDC_MAPPING_TEXT, text, sizeof text);
    if (IsTextAction(action) && text[0] == '\0') {
        return Refuse("Please enter some \"Text\" for this Mapping", kMissing, IDC_MAPPING_TEXT);
    }
    if (ReadMappingValue(vk, "Action") != 0 && gSettings.gbPromptForSave != 0) {
        KeyCodeToName(vk, name, sizeof name);
        if (KelmorMessageBoxF("Confirm Action", MB_YESNO | MB_ICONQUESTION,
                              "A key may only be used in one Mapping at a time.\n\nThe '%s' key is already used in "
                              "another Mapping.\n\nAre you sure that you want to overwrite it with this entry?",
                              name) != IDYES) {
            return false;
        }
    }
    WriteMapping(vk, static_cast<uint32_t>(action), ctrl, shift, alt, text);
    DialogSetText(ID_PANES, IDC_STATUS, "Mapping was Added");
    return true;
}

void OnAddOrDelete(bool add) {
    char keys[kCaptureSize];
    DialogGetText(ID_PANES, IDC_KEYS, keys, sizeof keys);
    if (keys[0] == '\0') {
        Refuse("Please type a \"Key\" for this Mapping", kMissing, IDC_KEYS);
        return;
    }
    if (add) {
        if (!AddMapping(keys)) return;
    } else {
        RemovePrefixes(keys);
        DeleteMapping(KeyNameToCode(keys));
        DialogSetText(ID_PANES, IDC_STATUS, "Mapping was Deleted");
    }
    FillKeysList();
    RefreshServiceAfterEdit(
        "The Keyboard Mapping database was updated, but the Keyboard Service is not currently active.\n\nYou will "
        "not be able to use any Mappings until the Keyboard Service is activated.");
    DialogListSelect(ID_PANES, IDC_KEYS, 0);
    DialogSetText(ID_PANES, IDC_KEYS, "");
    DialogListSelect(ID_PANES, IDC_ACTION, 0);
    DialogSetText(ID_PANES, IDC_MAPPING_TEXT, "");
    DialogFocus(ID_PANES, IDC_ACTION);
}

}  // namespace

void ResetEditorList(int control) {
    while (DialogListCount(ID_PANES, control) > 0) DialogListRemove(ID_PANES, control, 0);
    DialogListAdd(ID_PANES, control, "");
}

void FlattenLines(char* text) {
    for (char* p = text; *p != '\0'; ++p) {
        if (*p == '\r' || *p == '\n') *p = ' ';
    }
}

void MappingEditorInit() {
    gApp.gbKeyComplete = false;
    gApp.gszReplaced[0] = '\0';
    for (const char* text : kActionTexts) DialogListAdd(ID_PANES, IDC_ACTION, text);
    DialogFitDropDown(ID_PANES, IDC_ACTION, kActionDropDownLimit);
    DialogListSelect(ID_PANES, IDC_ACTION, 0);
    FillKeysList();
}

bool MappingEditorCommand(int control, int notification) {
    switch (control) {
        case IDC_KEYS:
            if ((notification & ~0xFF) == NOTIFY_KEY) OnKey(notification & 0xFF);
            if (notification == NOTIFY_CHANGED) OnMappingChosen();
            if (notification == NOTIFY_OTHER) OnLeft();
            return true;
        case IDC_ACTION:
            if (notification == NOTIFY_CHANGED) OnActionChosen();
            return true;
        case IDC_GADGET_ADD_MAPPING:
        case IDC_GADGET_DELETE_MAPPING:
            if (notification == NOTIFY_CLICKED) OnAddOrDelete(control == IDC_GADGET_ADD_MAPPING);
            return true;
        default:
            return false;
    }
}
