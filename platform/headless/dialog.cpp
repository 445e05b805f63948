// A program without a main window has no dialogs: none can be shown, and every control
// reads as empty. kelmorctl links the command table, which names the dialog commands.
#include "platform/dialog.h"

namespace {

int Clear(char* out, int size) {
    if (out != nullptr && size > 0) out[0] = '\0';
    return 0;
}

}  // namespace

int DialogRun(const DialogDescription*, DialogProc) { return -1; }
bool DialogCreate(const DialogDescription*, DialogProc) { return false; }
void DialogEnd(int, int) {}
void DialogSetText(int, int, const char*) {}
int DialogGetText(int, int, char* out, int size) { return Clear(out, size); }
void DialogCheck(int, int, bool) {}
bool DialogIsChecked(int, int) { return false; }
void DialogEnable(int, int, bool) {}
void DialogShow(int, int, bool) {}
void DialogFocus(int, int) {}
int DialogListAdd(int, int, const char*) { return -1; }
bool DialogListRemove(int, int, int) { return false; }
void DialogListSelect(int, int, int) {}
int DialogListSelection(int, int) { return -1; }
int DialogListCount(int, int) { return 0; }
int DialogListGetText(int, int, int, char* out, int size) { return Clear(out, size); }
void DialogSetImage(int, int, int) {}
void DialogSetPosition(int, int, int) {}
int DialogGetPosition(int, int) { return 0; }
void DialogCapturePointer(int, int, bool) {}
void DialogFitDropDown(int, int, int) {}
int DialogGetFocus(int) { return 0; }
bool DialogIsOpen(int) { return false; }
void DialogGetSelection(int, int, int* start, int* end) {
    if (start != nullptr) *start = 0;
    if (end != nullptr) *end = 0;
}
void DialogSetSelection(int, int, int, int) {}
