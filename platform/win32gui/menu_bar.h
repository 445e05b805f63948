// The main window's menu bar, built from the descriptions of ui/ (platform/window_parts.h).
#pragma once
#include "platform/win32/windows_api.h"

struct MenuEntry;

// The bar with its menus; texts pass through wording (nullptr: as they are).
HMENU Win32BuildMenuBar(const MenuEntry* entries, int count, const char* (*wording)(const char*));
// A plain item directly after anchorId, in whichever menu of the bar holds it; false when
// the anchor is missing or newId is there already.
bool Win32MenuInsertAfter(HMENU bar, int anchorId, int newId, const char* text);
