// Seam: the tray icon and its menu.
#pragma once

// The tray icon (on X11 an icon in a panel's notification area), shown as icon code
// with a tip of at most 63 characters. Adding is false when the desktop has no tray to
// hold it; the icon then waits for one. Its events reach OnTrayEvent (app/tray.h).
bool ShellAddTrayIcon(int code, const char* tip);
void ShellSetTrayIcon(int code, const char* tip);
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
