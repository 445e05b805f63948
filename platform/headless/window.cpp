// A program without a main window: kelmorctl, and kelmor playing hidden.
#include "platform/window.h"

#include "platform/desktop.h"
#include "platform/tray_icon.h"

// No window: title, menus, toolbar and focus have nothing to show on.
void ShellSetWindowTitle(const char*) {}
bool ShellGetMainWindowPosition(int32_t*, int32_t*) { return false; }
void ShellMoveMainWindow(int32_t, int32_t) {}
void ShellSetMainWindowTopmost(bool) {}
void ShellShowPanes(bool) {}
void ShellEnableCommand(int, bool) {}
void ShellCheckMenuItem(int, bool) {}
bool ShellMenuInsertAfter(int, int, const char*) { return false; }
bool ShellMenuDeleteItem(int) { return false; }

// No main window: it is never visible.
bool ShellIsMainWindowVisible() { return false; }
bool ShellIsMainWindowMinimized() { return false; }
void ShellShowMainWindow(int) {}
// No tray either: the icon has nowhere to go and no menu to show.
bool ShellAddTrayIcon(int, const char*) { return false; }
void ShellSetTrayIcon(int, const char*) {}
// Nothing here opens documents: a program without a window has no desktop to ask.
bool ShellOpen(const char*) { return false; }
bool ShellOpenTextFile(const char*) { return false; }
void ShellRemoveTrayIcon() {}
bool ShellIsTrayIconReachable() { return false; }
int ShellTrackTrayMenu(const TrayMenuItem*, int) { return 0; }
