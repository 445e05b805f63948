// The system's message box as the Windows back ends and the Windows face show it.
#pragma once
#include "platform/win32/windows_api.h"

// Shows a box owned by owner (nullptr: none) and returns the ID* answer; with MB_USERICON
// the icon is the program's resource iconId, or none where the program has no such icon.
int WinMessageBox(HWND owner, const char* text, const char* caption, uint32_t style, int iconId);
