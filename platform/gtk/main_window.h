// The main window: menu bar, toolbar and the panes below them, built from the program's
// descriptions; the seam of platform/window.h for the face table.
#pragma once
#include <gtk/gtk.h>

#include "platform/face.h"

bool GtkCreateMainWindow(const KelmorWindowParts* parts);
void GtkShowMainWindow(int showCommand);
bool GtkIsMainWindowVisible();
bool GtkIsMainWindowMinimized();
void GtkSetWindowTitle(const char* title);
bool GtkGetMainWindowPosition(int32_t* left, int32_t* top);
void GtkMoveMainWindow(int32_t left, int32_t top);
void GtkEnableCommand(int id, bool enable);
void GtkCheckCommand(int id, bool check);
bool GtkMenuInsertAfter(int anchorId, int newId, const char* text);
bool GtkMenuDeleteItem(int id);
void GtkSetMainWindowTopmost(bool topmost);
void GtkShowPanes(bool shown);
void GtkSetMenuOpenHandler(void (*onMenuOpen)());
// The main window as the parent of dialogs; nullptr before it exists.
GtkWindow* GtkMainWindowAsParent();
// Carries out the command of the main window's accelerator on this function key without
// Ctrl; false when none has it.
bool GtkRunFunctionKeyCommand(guint keyval);
