#include "ui/pane_view.h"

namespace {

const PaneView* gView = nullptr;

}  // namespace

void SetPaneView(const PaneView* view) { gView = view; }

void ViewSetStatusText(const char* text) {
    if (gView != nullptr) gView->setStatusText(text);
}

int ViewGetStatusText(char* out, int size) {
    if (gView != nullptr) return gView->getStatusText(out, size);
    if (size > 0) out[0] = '\0';
    return 0;
}

void ViewSetSpeedButtons(int speed) {
    if (gView != nullptr) gView->setSpeedButtons(speed);
}

void ViewSetRepeatField(const char* text) {
    if (gView != nullptr) gView->setRepeatField(text);
}

void ViewEnableRepeatControls(bool enable) {
    if (gView != nullptr) gView->enableRepeatControls(enable);
}

void ViewSetContinuousBox(bool checked) {
    if (gView != nullptr) gView->setContinuousBox(checked);
}

void ViewFocusSpeedButton(int speed) {
    if (gView != nullptr) gView->focusSpeedButton(speed);
}
