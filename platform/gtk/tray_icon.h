// The tray icon: an XEmbed icon (GtkStatusIcon) in the notification area of a panel,
// and its menu; the seam of platform/window.h for the face table.
#pragma once

struct TrayMenuItem;

bool GtkAddTrayIcon(int code, const char* tip, void (*onEvent)(int event));
void GtkSetTrayIcon(int code, const char* tip);
void GtkRemoveTrayIcon();
bool GtkIsTrayIconReachable();
int GtkTrackTrayMenu(const TrayMenuItem* items, int count);
