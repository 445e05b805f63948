// Seam: the main window - its title, menu and toolbar items, the panes' controls, the
// status line and the tray icon.
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
// The status line of the main pane.
void ShellSetStatusText(const char* text);
int ShellGetStatusText(char* out, int size);
// The playback pane: speed option buttons (1-4), the repeat-count field and its
// controls, and the Continuous box.
void ShellSetSpeedButtons(int speed);
void ShellSetRepeatField(const char* text);
void ShellEnableRepeatControls(bool enable);
void ShellSetContinuousBox(bool checked);
// Puts the keyboard focus on the playback pane's option button of a speed (1-4).
void ShellFocusSpeedButton(int speed);
// The tray icon (on X11 an icon in a panel's notification area), shown as icon code
// with a tip of at most 63 characters. Adding is false when the desktop has no tray to
// hold it; the icon then waits for one. Its events reach OnTrayEvent (app/tray.h).
bool ShellAddTrayIcon(int code, const char* tip);
void ShellSetTrayIcon(int code, const char* tip);
// Opens a document or address (an absolute URI: file, https, mailto) with the desktop's
// default handler for it, as a person's double click would; false when there is none or
// it cannot be started.
bool ShellOpen(const char* uri);
// Opens a file with the application the desktop has chosen for plain text; false when
// it has none or it cannot be started.
bool ShellOpenTextFile(const char* path);
void ShellRemoveTrayIcon();
// True while a tray holds the icon, so that a person can see and click it.
bool ShellIsTrayIconReachable();
enum TrayEvent {
    TRAY_EVENT_DOUBLE_CLICK = 1,  // left button
    TRAY_EVENT_MENU = 2,          // right button released
    TRAY_EVENT_LOST = 3,          // no tray took the icon in time, or its tray went away
};
struct TrayMenuItem {
    int id;  // 0 for a separator
    const char* text;
    bool enabled;
};
// Shows the tray menu at the pointer and returns once it has closed: the id chosen, or
// 0 when nothing was.
int ShellTrackTrayMenu(const TrayMenuItem* items, int count);
