#include "ui/tab_pages.h"

void ShowTabPage(const DialogDescription& dialog, int tab) {
    for (int i = 0; i < dialog.controlCount; ++i) {
        const ControlDescription& control = dialog.controls[i];
        if (control.pages != 0) DialogShow(dialog.id, control.id, (control.pages >> tab & 1) != 0);
    }
}
