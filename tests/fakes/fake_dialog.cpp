#include <cstdio>

#include "platform/dialog.h"
#include "platform/wintypes.h"
#include "tests/fakes/fakes.h"
#include "ui/platform_wording.h"

namespace fake {

std::map<int, Dialog> dialogs;
std::vector<int> dialogRuns;
std::deque<std::function<void(int dialog)>> dialogScripts;
std::vector<std::string> dialogErrors;
int focusedDialog = 0;
int focusedControl = 0;

void ResetDialogs() {
    dialogs.clear();
    dialogRuns.clear();
    dialogScripts.clear();
    dialogErrors.clear();
    focusedDialog = 0;
    focusedControl = 0;
}

Control& DialogControl(int dialog, int control) { return dialogs[dialog].controls[control]; }

void DialogCommand(int dialog, int control, int notification) {
    auto found = dialogs.find(dialog);
    if (found == dialogs.end() || !found->second.open) {
        dialogErrors.push_back("command to dialog " + std::to_string(dialog) + ", which is not open");
        return;
    }
    found->second.proc(dialog, DIALOG_COMMAND, control, notification);
}

namespace {

bool Open(const DialogDescription* description, DialogProc proc) {
    if (description == nullptr || proc == nullptr) return false;
    Dialog& dialog = dialogs[description->id];
    dialog = Dialog();
    dialog.description = description;
    dialog.proc = proc;
    dialog.open = true;
    for (int i = 0; i < description->controlCount; ++i) {
        const ControlDescription& c = description->controls[i];
        fake::Control& control = dialog.controls[c.id];
        control.text = PlatformText(c.text);
        control.selectionStart = control.selectionEnd = static_cast<int>(control.text.size());
    }
    proc(description->id, DIALOG_INIT, 0, 0);
    return true;
}

// The control a seam call names, or nullptr (and a recorded error) when the dialog is
// not open or has no such control.
Control* Find(int dialog, int control, const char* call) {
    auto found = dialogs.find(dialog);
    if (found != dialogs.end() && found->second.open) {
        auto c = found->second.controls.find(control);
        if (c != found->second.controls.end()) return &c->second;
    }
    dialogErrors.push_back(std::string(call) + " on dialog " + std::to_string(dialog) + " control " +
                           std::to_string(control));
    return nullptr;
}

int Copy(const std::string& text, char* out, int size) {
    if (out == nullptr || size <= 0) return 0;
    snprintf(out, static_cast<size_t>(size), "%s", text.c_str());
    return static_cast<int>(text.size() < static_cast<size_t>(size) ? text.size() : static_cast<size_t>(size - 1));
}

}  // namespace

}  // namespace fake

int DialogRun(const DialogDescription* description, DialogProc proc) {
    if (!fake::Open(description, proc)) return -1;
    const int id = description->id;
    fake::dialogRuns.push_back(id);
    if (fake::dialogs[id].open && !fake::dialogScripts.empty()) {
        auto script = fake::dialogScripts.front();
        fake::dialogScripts.pop_front();
        script(id);
    }
    fake::Dialog& dialog = fake::dialogs[id];
    if (dialog.open) DialogEnd(id, IDCANCEL);
    return dialog.result;
}

bool DialogCreate(const DialogDescription* description, DialogProc proc) { return fake::Open(description, proc); }

void DialogEnd(int dialog, int result) {
    auto found = fake::dialogs.find(dialog);
    if (found == fake::dialogs.end() || !found->second.open) {
        fake::dialogErrors.push_back("end of dialog " + std::to_string(dialog) + ", which is not open");
        return;
    }
    found->second.open = false;
    found->second.result = result;
}

void DialogSetText(int dialog, int control, const char* text) {
    fake::Control* c = fake::Find(dialog, control, "set text");
    if (c == nullptr) return;
    c->text = text ? text : "";
    c->selectionStart = c->selectionEnd = static_cast<int>(c->text.size());
}

int DialogGetText(int dialog, int control, char* out, int size) {
    fake::Control* c = fake::Find(dialog, control, "get text");
    return fake::Copy(c ? c->text : "", out, size);
}

void DialogCheck(int dialog, int control, bool checked) {
    if (fake::Control* c = fake::Find(dialog, control, "check")) c->checked = checked;
}

bool DialogIsChecked(int dialog, int control) {
    fake::Control* c = fake::Find(dialog, control, "is checked");
    return c != nullptr && c->checked;
}

void DialogEnable(int dialog, int control, bool enabled) {
    if (fake::Control* c = fake::Find(dialog, control, "enable")) c->enabled = enabled;
}

void DialogShow(int dialog, int control, bool shown) {
    if (fake::Control* c = fake::Find(dialog, control, "show")) c->shown = shown;
}

void DialogFocus(int dialog, int control) {
    if (fake::Find(dialog, control, "focus") == nullptr) return;
    fake::focusedDialog = dialog;
    fake::focusedControl = control;
}

bool DialogIsOpen(int dialog) {
    const auto found = fake::dialogs.find(dialog);
    return found != fake::dialogs.end() && found->second.open;
}
int DialogGetFocus(int dialog) { return fake::focusedDialog == dialog ? fake::focusedControl : 0; }

void DialogGetSelection(int dialog, int control, int* start, int* end) {
    fake::Control* c = fake::Find(dialog, control, "get selection");
    const int length = c != nullptr ? static_cast<int>(c->text.size()) : 0;
    auto clamp = [length](int at) { return at < 0 ? 0 : at > length ? length : at; };
    if (start != nullptr) *start = c != nullptr ? clamp(c->selectionStart) : 0;
    if (end != nullptr) *end = c != nullptr ? clamp(c->selectionEnd) : 0;
}

void DialogSetSelection(int dialog, int control, int start, int end) {
    if (fake::Control* c = fake::Find(dialog, control, "set selection")) {
        c->selectionStart = start;
        c->selectionEnd = end;
    }
}

int DialogListAdd(int dialog, int control, const char* text) {
    fake::Control* c = fake::Find(dialog, control, "list add");
    if (c == nullptr) return -1;
    c->items.push_back(text ? text : "");
    return static_cast<int>(c->items.size()) - 1;
}

bool DialogListRemove(int dialog, int control, int index) {
    fake::Control* c = fake::Find(dialog, control, "list remove");
    if (c == nullptr || index < 0 || index >= static_cast<int>(c->items.size())) return false;
    c->items.erase(c->items.begin() + index);
    // As a list box does: the selection goes with its item, and later items move up.
    if (c->selection == index) c->selection = -1;
    else if (c->selection > index) --c->selection;
    return true;
}

void DialogListSelect(int dialog, int control, int index) {
    fake::Control* c = fake::Find(dialog, control, "list select");
    if (c == nullptr) return;
    c->selection = index >= 0 && index < static_cast<int>(c->items.size()) ? index : -1;
}

int DialogListSelection(int dialog, int control) {
    fake::Control* c = fake::Find(dialog, control, "list selection");
    return c ? c->selection : -1;
}

int DialogListCount(int dialog, int control) {
    fake::Control* c = fake::Find(dialog, control, "list count");
    return c ? static_cast<int>(c->items.size()) : 0;
}

int DialogListGetText(int dialog, int control, int index, char* out, int size) {
    fake::Control* c = fake::Find(dialog, control, "list text");
    const bool valid = c != nullptr && index >= 0 && index < static_cast<int>(c->items.size());
    return fake::Copy(valid ? c->items[static_cast<size_t>(index)] : "", out, size);
}

void DialogSetImage(int dialog, int control, int bitmapId) {
    if (fake::Control* c = fake::Find(dialog, control, "set image")) c->image = bitmapId;
}

void DialogSetPosition(int dialog, int control, int position) {
    if (fake::Control* c = fake::Find(dialog, control, "set position")) c->position = position;
}

int DialogGetPosition(int dialog, int control) {
    fake::Control* c = fake::Find(dialog, control, "get position");
    return c ? c->position : 0;
}

void DialogCapturePointer(int dialog, int control, bool capture) {
    if (fake::Control* c = fake::Find(dialog, control, "capture pointer")) c->capturing = capture;
}

void DialogFitDropDown(int dialog, int control, int limit) {
    if (fake::Control* c = fake::Find(dialog, control, "fit drop-down")) {
        c->dropDownLimit = limit;
        c->dropDownItems = static_cast<int>(c->items.size());
    }
}
