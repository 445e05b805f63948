// Text put on the desktop's clipboard through GTK, whose loop answers the programs that
// paste it.
#pragma once

bool GtkSetClipboardText(const char* text);
void GtkLetGoOfClipboard();
