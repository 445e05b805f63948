// The Windows face: the main window, the dialogs built from the descriptions of ui/, the
// tray icon, message and file boxes and the pictures, all through USER32, COMCTL32,
// COMDLG32 and SHELL32. Kelmor.exe links it in and hands its table to the program as the
// face module's table is handed over on Linux (platform/face.h).
#pragma once
#include "platform/win32/windows_api.h"

#include "platform/face.h"

// The table of the whole face: the window's fields and those the dialogs fill in.
const KelmorFace* Win32Face();

// The dialogs' half of the table (dialog*, messageBox, fileDialog, dialogSetImage,
// dialogSetPosition, dialogGetPosition, dialogCapturePointer, setClipboardText,
// letGoOfClipboard, dialogFitDropDown).
void Win32FillDialogFace(KelmorFace* face);

// The window every modal dialog, message box and file dialog is owned by (one opened from a
// modal dialog belongs to that dialog), and the parent of the dialogs DialogCreate makes
// (the panes); nullptr before the window exists.
void Win32SetDialogOwner(HWND owner);
// The window of an open dialog, by its description's id; nullptr when none is open.
HWND Win32DialogWindow(int dialog);
// What a plain function key pressed in a modal dialog runs: the main window's command on
// that key (F1, help for this screen), as its accelerators do outside; true when one ran.
void Win32SetFunctionKeyCommand(bool (*run)(int virtualKey));
// Gives a message to the open modeless dialogs (keyboard navigation in the panes); true
// when one took it, and the loop then neither translates nor dispatches it. Called before
// the accelerators: a key field that takes every key (CONTROL_ALL_KEYS) gets Ctrl and
// function keys too.
bool Win32IsDialogMessage(MSG* message);

// The pictures, drawn for this program: a bitmap of platform/picture_ids.h (nullptr for an
// id there is none of), the toolbar's strip of 16x16 images in the order ui/ counts them,
// and the icons (IDI_KELMOR, and the tray's by its icon code).
HBITMAP Win32LoadPicture(int bitmapId);
HBITMAP Win32ToolbarStrip(int* imageCount);
HICON Win32LoadIcon(int iconId);
HICON Win32TrayIcon(int code);
