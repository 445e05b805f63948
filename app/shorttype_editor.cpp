#include "app/shorttype_editor.h"

#include <cstring>

#include "app/mapping_editor.h"
#include "app/service_commands.h"
#include "platform/dialog.h"
#include "platform/wintypes.h"
#include "settings/format.h"
#include "settings/service_store.h"
#include "settings/settings.h"
#include "ui/message_box.h"
#include "ui/pane_description.h"

namespace {

// The service's cache holds this many; more would be stored but never work.
const uint32_t kMaxShortTypes = 64;
const int kMaxAbbreviation = 15;
const int kFieldSize = 64;
const int kTextSize = 256;
const int kListTextShown = 28;
const int kDropDownLimit = 200;  // the widest the list opens, in pixels
const uint32_t kRefusal = MB_OK | MB_ICONEXCLAMATION;
const char kMissing[] = "Missing Information";

bool IsAbbreviationChar(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' '; }

void FillList() {
    ResetEditorList(IDC_SHORTTYPE);
    for (uint32_t i = 0; i < kMaxShortTypes; ++i) {
        char name[kFieldSize];
        if (!EnumShortType(i, name, sizeof name)) break;
        char text[kTextSize];
        ReadShortTypeText(name, text);
        char entry[kFieldSize + kTextSize + 8];
        if (strlen(text) >= kListTextShown) {
            FormatText(entry, sizeof entry, "%s = \"%.28s...\"", name, text);
        } else {
            FormatText(entry, sizeof entry, "%s = \"%s\"", name, text);
        }
        FlattenLines(entry);
        DialogListAdd(ID_PANES, IDC_SHORTTYPE, entry);
    }
    DialogFitDropDown(ID_PANES, IDC_SHORTTYPE, kDropDownLimit);
}

void CutAtEquals(char* text) {
    char* cut = strstr(text, " =");
    if (cut != nullptr) *cut = '\0';
}

// The field takes only what an abbreviation may hold, where the caret is or over the
// selection; typing over a list entry shown in full starts afresh.
void OnChar(char c) {
    const char kDelete = 0x7F;
    char text[kFieldSize];
    int length = DialogGetText(ID_PANES, IDC_SHORTTYPE, text, sizeof text);
    int start = 0, end = 0;
    DialogGetSelection(ID_PANES, IDC_SHORTTYPE, &start, &end);
    if (start > end) {
        const int first = end;
        end = start;
        start = first;
    }
    if (strchr(text, '=') != nullptr) {
        text[0] = '\0';
        length = start = end = 0;
    }
    if (start < 0) start = 0;
    if (end > length) end = length;
    if (start > end) start = end;
    const bool erase = c == '\b' || c == kDelete;
    if (!erase && !IsAbbreviationChar(c)) return;
    if (start == end && c == '\b' && start > 0) --start;
    if (start == end && c == kDelete && end < length) ++end;
    if (!erase && length - (end - start) >= kMaxAbbreviation) return;
    // The field holds at most kMaxAbbreviation characters of kFieldSize: the insertion fits.
    memmove(text + start + (erase ? 0 : 1), text + end, static_cast<size_t>(length - end) + 1);
    if (!erase) text[start++] = c;
    DialogSetText(ID_PANES, IDC_SHORTTYPE, text);
    DialogSetSelection(ID_PANES, IDC_SHORTTYPE, start, start);
}

void OnChosen() {
    const int index = DialogListSelection(ID_PANES, IDC_SHORTTYPE);
    if (index <= 0) return;
    char entry[kFieldSize + kTextSize + 8];
    DialogListGetText(ID_PANES, IDC_SHORTTYPE, index, entry, sizeof entry);
    CutAtEquals(entry);
    DialogSetText(ID_PANES, IDC_SHORTTYPE, entry);
    char text[kTextSize];
    ReadShortTypeText(entry, text);
    DialogSetText(ID_PANES, IDC_REPLACE_TEXT, text);
}

bool Refuse(const char* text, const char* caption, int focus) {
    KelmorMessageBox(text, caption, kRefusal);
    DialogFocus(ID_PANES, focus);
    return false;
}

uint32_t StoredCount() {
    char name[kFieldSize];
    uint32_t count = 0;
    while (count <= kMaxShortTypes && EnumShortType(count, name, sizeof name)) ++count;
    return count;
}

bool Add(const char* abbreviation) {
    for (int i = 0; i < kMaxAbbreviation && abbreviation[i] != '\0'; ++i) {
        if (!IsAbbreviationChar(abbreviation[i])) {
            return Refuse("The ShortType text can only contain lowercase letters (a-z), numbers (0-9), or spaces "
                          "(' ')",
                          kMissing, IDC_SHORTTYPE);
        }
    }
    char text[kTextSize];
    DialogGetText(ID_PANES, IDC_REPLACE_TEXT, text, sizeof text);
    if (text[0] == '\0') {
        return Refuse("Please enter \"Replace Text\" where the cursor is located.", kMissing, IDC_REPLACE_TEXT);
    }
    char stored[kTextSize];
    ReadShortTypeText(abbreviation, stored);
    if (stored[0] != '\0' && gSettings.gbPromptForSave != 0 &&
        KelmorMessageBox("This ShortType sequence is already saved.\n\nAre you sure that you want to overwrite it "
                         "with this entry?",
                         "Confirm Action", MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return false;
    }
    // A 65th would be stored but never listed nor typed: refused instead.
    if (!ShortTypeExists(abbreviation) && StoredCount() >= kMaxShortTypes) {
        return Refuse("Only 64 ShortTypes can be used at a time.\n\nPlease delete a ShortType first.",
                      "ShortType Limit", IDC_SHORTTYPE);
    }
    WriteShortTypeText(abbreviation, text);
    DialogSetText(ID_PANES, IDC_STATUS, "ShortType was Added");
    return true;
}

void OnAddOrDelete(bool add) {
    char abbreviation[21];
    DialogGetText(ID_PANES, IDC_SHORTTYPE, abbreviation, sizeof abbreviation);
    CutAtEquals(abbreviation);
    if (strlen(abbreviation) < 2) {
        Refuse("Please enter text where the cursor is located, or choose a previous entry.\n\n(The ShortType must be "
               "at least 2 characters long)",
               kMissing, IDC_SHORTTYPE);
        return;
    }
    if (add) {
        if (!Add(abbreviation)) return;
    } else {
        DeleteShortType(abbreviation);
        DialogSetText(ID_PANES, IDC_STATUS, "ShortType was Deleted");
    }
    FillList();
    RefreshServiceAfterEdit(
        "The ShortType database was updated, but the Keyboard Service is not currently active.\n\nYou will not be "
        "able to use any ShortTypes until the Keyboard Service is activated.");
    DialogSetText(ID_PANES, IDC_SHORTTYPE, "");
    DialogSetText(ID_PANES, IDC_REPLACE_TEXT, "");
    DialogFocus(ID_PANES, IDC_SHORTTYPE);
}

}  // namespace

void ShortTypeEditorInit() { FillList(); }

bool ShortTypeEditorCommand(int control, int notification) {
    switch (control) {
        case IDC_SHORTTYPE:
            if ((notification & ~0xFF) == NOTIFY_CHAR) OnChar(static_cast<char>(notification & 0xFF));
            if (notification == NOTIFY_CHANGED) OnChosen();
            return true;
        case IDC_GADGET_ADD_SHORTTYPE:
        case IDC_GADGET_DELETE_SHORTTYPE:
            if (notification == NOTIFY_CLICKED) OnAddOrDelete(control == IDC_GADGET_ADD_SHORTTYPE);
            return true;
        default:
            return false;
    }
}
