// Dialogs with a tab strip: each control names the pages it belongs to (its `pages` bits).
#pragma once
#include "platform/dialog.h"

// Shows the controls of one page and hides those of the others; controls on no page (the
// tab strip, the buttons below it) stay as they are.
void ShowTabPage(const DialogDescription& dialog, int tab);
