// What the Windows back ends share of the program's message loop (platform/win32/loop.cpp).
#pragma once
#include "platform/win32/windows_api.h"

// Runs work from the message loop once the current message is handled. False when the
// loop's window cannot be made.
bool WinPostToLoop(void (*work)());

// A window's own look at each message before the loop translates and dispatches it (its
// keyboard accelerators, a dialog's keyboard navigation); the filter answers true when it
// took the message, which then goes no further. nullptr lets every message through.
void WinSetMessageFilter(bool (*filter)(MSG* message));
