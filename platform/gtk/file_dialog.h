// The open and save file dialogs of platform/message_box.h, owned by the main window.
#pragma once

bool GtkFileDialog(bool save, char* name, int nameSize, const char* filters, int filterIndex, int* chosenFilter);
