// The tray icon of the main window and its menu (the face's tray fields).
#pragma once
#include "platform/tray_icon.h"
#include "platform/win32/windows_api.h"

struct TrayMenuItem;

// The window whose messages the icon's events arrive as; set once it exists.
void Win32SetTrayWindow(HWND window);
bool Win32AddTrayIcon(int code, const char* tip, void (*onEvent)(int event));
void Win32SetTrayIcon(int code, const char* tip);
void Win32RemoveTrayIcon();
bool Win32IsTrayIconReachable();
int Win32TrackTrayMenu(const TrayMenuItem* items, int count);
// The window's messages that belong to the tray; true when the message was one.
bool Win32OnTrayMessage(UINT message, LPARAM lParam);
