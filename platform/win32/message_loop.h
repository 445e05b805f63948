// What the Windows back ends share of the program's message loop (platform/win32/loop.cpp).
#pragma once

// Runs work from the message loop once the current message is handled. False when the
// loop's window cannot be made.
bool WinPostToLoop(void (*work)());
