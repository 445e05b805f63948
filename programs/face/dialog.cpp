// Dialogs of the kelmor program: the face module's, once the main window is open. Without
// it no dialog can be shown and every control reads as empty.
#include "platform/dialog.h"

#include "programs/face/face.h"

namespace {

const KelmorFace* Face() { return WindowFace(); }

void Clear(char* out, int size) {
    if (out != nullptr && size > 0) out[0] = '\0';
}

}  // namespace

int DialogRun(const DialogDescription* description, DialogProc proc) {
    return Face() != nullptr ? Face()->dialogRun(description, proc) : -1;
}

bool DialogCreate(const DialogDescription* description, DialogProc proc) {
    return Face() != nullptr && Face()->dialogCreate(description, proc);
}

void DialogEnd(int dialog, int result) {
    if (Face() != nullptr) Face()->dialogEnd(dialog, result);
}

void DialogSetText(int dialog, int control, const char* text) {
    if (Face() != nullptr) Face()->dialogSetText(dialog, control, text);
}

int DialogGetText(int dialog, int control, char* out, int size) {
    if (Face() != nullptr) return Face()->dialogGetText(dialog, control, out, size);
    Clear(out, size);
    return 0;
}

void DialogCheck(int dialog, int control, bool checked) {
    if (Face() != nullptr) Face()->dialogCheck(dialog, control, checked);
}

bool DialogIsChecked(int dialog, int control) { return Face() != nullptr && Face()->dialogIsChecked(dialog, control); }

void DialogEnable(int dialog, int control, bool enabled) {
    if (Face() != nullptr) Face()->dialogEnable(dialog, control, enabled);
}

void DialogShow(int dialog, int control, bool shown) {
    if (Face() != nullptr) Face()->dialogShow(dialog, control, shown);
}

void DialogFocus(int dialog, int control) {
    if (Face() != nullptr) Face()->dialogFocus(dialog, control);
}

int DialogListAdd(int dialog, int control, const char* text) {
    return Face() != nullptr ? Face()->dialogListAdd(dialog, control, text) : -1;
}

bool DialogListRemove(int dialog, int control, int index) {
    return Face() != nullptr && Face()->dialogListRemove(dialog, control, index);
}

void DialogListSelect(int dialog, int control, int index) {
    if (Face() != nullptr) Face()->dialogListSelect(dialog, control, index);
}

int DialogListSelection(int dialog, int control) {
    return Face() != nullptr ? Face()->dialogListSelection(dialog, control) : -1;
}

int DialogListCount(int dialog, int control) {
    return Face() != nullptr ? Face()->dialogListCount(dialog, control) : 0;
}

int DialogListGetText(int dialog, int control, int index, char* out, int size) {
    if (Face() != nullptr) return Face()->dialogListGetText(dialog, control, index, out, size);
    Clear(out, size);
    return 0;
}

void DialogSetImage(int dialog, int control, int bitmapId) {
    if (FACE_HAS(Face(), dialogSetImage)) Face()->dialogSetImage(dialog, control, bitmapId);
}

void DialogSetPosition(int dialog, int control, int position) {
    if (FACE_HAS(Face(), dialogSetPosition)) Face()->dialogSetPosition(dialog, control, position);
}

int DialogGetPosition(int dialog, int control) {
    return FACE_HAS(Face(), dialogGetPosition) ? Face()->dialogGetPosition(dialog, control) : 0;
}

void DialogCapturePointer(int dialog, int control, bool capture) {
    if (FACE_HAS(Face(), dialogCapturePointer)) Face()->dialogCapturePointer(dialog, control, capture);
}

void DialogFitDropDown(int dialog, int control, int limit) {
    if (FACE_HAS(Face(), dialogFitDropDown)) Face()->dialogFitDropDown(dialog, control, limit);
}

bool DialogIsOpen(int dialog) { return FACE_HAS(Face(), dialogIsOpen) && Face()->dialogIsOpen(dialog); }

int DialogGetFocus(int dialog) { return FACE_HAS(Face(), dialogGetFocus) ? Face()->dialogGetFocus(dialog) : 0; }

void DialogGetSelection(int dialog, int control, int* start, int* end) {
    if (start != nullptr) *start = 0;
    if (end != nullptr) *end = 0;
    if (FACE_HAS(Face(), dialogGetSelection)) Face()->dialogGetSelection(dialog, control, start, end);
}

void DialogSetSelection(int dialog, int control, int start, int end) {
    if (FACE_HAS(Face(), dialogSetSelection)) Face()->dialogSetSelection(dialog, control, start, end);
}
