// The main window's toolbar: the 16x16 image strip's buttons, with their tips.
#pragma once
#include "platform/win32/windows_api.h"

struct KelmorWindowParts;

// The toolbar along the top of parent, or nullptr (the program then runs without one).
HWND Win32CreateToolbar(HWND parent, const KelmorWindowParts& parts);
// A tool tip's request for its text (WM_NOTIFY from the toolbar's tips): filled from the
// tip of the button whose command asks; false for any other notification.
bool Win32FillToolbarTip(LPARAM notification, const KelmorWindowParts& parts);
