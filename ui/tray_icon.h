// The tray icon's three operations. The icon is chosen by a state code, which is also
// the number of the icon shown: 1000 idle with the keyboard service, 1006 idle without
// it, 1003 recording, 1004 playing.
#pragma once

enum TrayIconCode { TRAY_IDLE_SERVICE = 1000, TRAY_IDLE = 1006, TRAY_RECORDING = 1003, TRAY_PLAYING = 1004 };

// False when the desktop has no tray to hold the icon (it is added all the same and
// shows once a tray appears).
bool AddTrayIcon(int code, const char* tip);
// Changes icon and tip; nothing happens when the icon already shows this code.
void SetTrayIcon(int code, const char* tip);
void RemoveTrayIcon();
void ResetTrayIconState();
