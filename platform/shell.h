// Seam: the program's face - message boxes, the main window's title, menu and toolbar
// items, file dialogs, and the queue of posted commands.
#pragma once
#include <cstdint>

// Shows a message box with no owner window; returns the ID* answer.
int ShellMessageBox(const char* text, const char* caption, uint32_t style);
// The same with one of the program's own icons in place of a system icon.
int ShellIconMessageBox(const char* text, const char* caption, uint32_t style, int iconId);
void ShellSetWindowTitle(const char* title);
// Enables or greys a command's menu item and, where one exists, its toolbar button.
void ShellEnableCommand(int id, bool enable);
void ShellCheckMenuItem(int id, bool check);
// Inserts a string item directly after the item anchorId, wherever that is in the
// menu bar; false when the anchor is missing.
bool ShellMenuInsertAfter(int anchorId, int newId, const char* text);
// Deletes the item with this id wherever it is; false when there is none.
bool ShellMenuDeleteItem(int id);
// Runs the open or save file dialog. name (nameSize bytes) is the initial and the
// chosen name; filters is a list of description and pattern pairs, each ending in a
// NUL, the list ended by an extra NUL; filterIndex is 1-based. Returns true when a
// name was chosen and then sets *chosenFilter to the 1-based filter selected.
bool ShellFileDialog(bool save, char* name, int nameSize, const char* filters, int filterIndex,
                     int* chosenFilter);
// Queues a command for the command dispatch after the current one returns.
void ShellPostCommand(int id);
// Puts the keyboard focus on the playback pane's option button of a speed (1-4).
void ShellFocusSpeedButton(int speed);

// The main window itself.
bool ShellIsMainWindowVisible();
bool ShellIsMainWindowMinimized();
void ShellShowMainWindow(int showCommand);  // SW_* of platform/desktop.h
// The status line of the main pane.
void ShellSetStatusText(const char* text);
int ShellGetStatusText(char* out, int size);
// The playback pane: speed option buttons (1-4), the repeat-count field and its
// controls, and the Continuous box.
void ShellSetSpeedButtons(int speed);
void ShellSetRepeatField(const char* text);
void ShellEnableRepeatControls(bool enable);
void ShellSetContinuousBox(bool checked);
// The tray icon: shows icon code with a tip (at most 63 characters).
void ShellSetTrayIcon(int code, const char* tip);
// Ends the program's message loop once the current command returns; the program then
// exits with exitCode.
void ShellQuitMessageLoop(int exitCode);
// Where the system's order to end the program goes (on Linux SIGINT, SIGTERM and SIGHUP;
// the end of the session). The shell calls the handler from the message loop, between
// the loop's other work, and the program then exits with a failure status.
void ShellSetEndSessionHandler(void (*onEndSession)());
