// Dialogs built from their descriptions with GTK widgets: the seam of platform/dialog.h
// for the face table.
#pragma once
#include <gtk/gtk.h>

#include <string>

#include "platform/dialog.h"

// Where child dialogs (the panes) are packed: a box of the main window.
void GtkDialogSetChildHome(GtkWidget* box);
// The main window's commands on function keys without Ctrl, which act in its modal
// dialogs too: run returns false for a key that has none. The main window hands them
// over when it is made.
void GtkDialogSetFunctionKeys(bool (*run)(guint keyval));
// Text with '&' marking the mnemonic as GTK writes it ('_'); "&&" is a plain '&' and a
// plain '_' stays one. The text is worded for the platform first (GtkSetWording).
std::string GtkMnemonicText(const char* text);
// How the program words labels for this platform; as they are until set.
void GtkSetWording(const char* (*wording)(const char* text));

int GtkDialogRun(const DialogDescription* description, DialogProc proc);
// The window of the innermost dialog GtkDialogRun is running (nullptr when none runs):
// the parent a window opened from it must have to come in front of it.
GtkWindow* GtkRunningDialogWindow();
bool GtkDialogCreate(const DialogDescription* description, DialogProc proc);
void GtkDialogEnd(int dialog, int result);
void GtkDialogSetText(int dialog, int control, const char* text);
int GtkDialogGetText(int dialog, int control, char* out, int size);
void GtkDialogCheck(int dialog, int control, bool checked);
bool GtkDialogIsChecked(int dialog, int control);
void GtkDialogEnable(int dialog, int control, bool enabled);
void GtkDialogShow(int dialog, int control, bool shown);
void GtkDialogFocus(int dialog, int control);
int GtkDialogGetFocus(int dialog);
bool GtkDialogIsOpen(int dialog);
void GtkDialogGetSelection(int dialog, int control, int* start, int* end);
void GtkDialogSetSelection(int dialog, int control, int start, int end);
int GtkDialogListAdd(int dialog, int control, const char* text);
bool GtkDialogListRemove(int dialog, int control, int index);
void GtkDialogListSelect(int dialog, int control, int index);
int GtkDialogListSelection(int dialog, int control);
int GtkDialogListCount(int dialog, int control);
int GtkDialogListGetText(int dialog, int control, int index, char* out, int size);
void GtkDialogFitDropDown(int dialog, int control, int limit);
void GtkDialogSetImage(int dialog, int control, int bitmapId);
void GtkDialogSetPosition(int dialog, int control, int position);
int GtkDialogGetPosition(int dialog, int control);
void GtkDialogCapturePointer(int dialog, int control, bool capture);
