// The tray mode: with Run from Tray on, the program lives in the tray icon, the window
// comes back from the icon, and closing the window only hides it. Where no tray holds
// the icon, the window stays shown: hidden, nothing would bring it back.
#pragma once

// Command handlers: 1171 (Run from Tray), 1739 (Show Kelmor), 1740 (Exit Kelmor).
void OnRunFromTray(int id);
void OnTrayShow(int id);
void OnTrayExit(int id);
// Switches the tray mode on or off as the View menu and the panes' Tray Icon box do.
void SetTrayMode(bool on);
// Start-up: the window, or with the tray mode on only the tray icon.
void ShowWindowOrTrayIcon();
// What the tray icon reports (TRAY_EVENT_* of platform/window.h).
void OnTrayEvent(int event);
