// Seam: the main window - its place, title, menu and toolbar items and its panes shown or
// not. The panes' controls are reached through ui/pane_view.h, the tray icon through
// platform/tray_icon.h.
#pragma once
#include <cstdint>

// The main window itself.
bool ShellIsMainWindowVisible();
bool ShellIsMainWindowMinimized();
void ShellShowMainWindow(int showCommand);  // SW_* of platform/desktop.h
void ShellSetWindowTitle(const char* title);
// The main window's place on the screen: the top-left corner of its frame. The getter is
// false when there is no main window.
bool ShellGetMainWindowPosition(int32_t* left, int32_t* top);
void ShellMoveMainWindow(int32_t left, int32_t top);
// Keeps the main window above other windows, or lets it go back among them without
// moving, sizing or activating it.
void ShellSetMainWindowTopmost(bool topmost);
// Shows or hides the panes below the toolbar; the window's size follows, so that with
// the panes hidden only the menu and the toolbar strip stay in view.
void ShellShowPanes(bool shown);
// Enables or greys a command's menu item and, where one exists, its toolbar button.
void ShellEnableCommand(int id, bool enable);
void ShellCheckMenuItem(int id, bool check);
// Inserts a string item directly after the item anchorId, wherever that is in the
// menu bar; false when the anchor is missing.
bool ShellMenuInsertAfter(int anchorId, int newId, const char* text);
// Deletes the item with this id wherever it is; false when there is none.
bool ShellMenuDeleteItem(int id);
