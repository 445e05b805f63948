// Script commands run at their empty events during playback.
#pragma once
#include <cstdint>

#include "platform/wintypes.h"

extern HWND32 ghGotoWindow;          // window of the last successful GOTO; 0 for none
extern uint8_t gbConsoleMinimized;   // START minimised the main window for a console

// Back to the state of a fresh start: no GOTO window, the main window not minimised.
void ResetScriptCommands();

// Runs command k at empty event i. Returns true with *delay set when the hook is to
// return that delay (GOTO, WAIT); false when the hook passes the call on, in which case
// the continuation line is already logged.
bool RunScriptCommand(int32_t k, int32_t i, int32_t* delay);
HWND32 FindWindowByTitle(const char* text);
