// Script commands run at their empty events during playback.
#pragma once
#include <cstdint>

#include "platform/wintypes.h"
#include "player/player_state.h"

// Back to the state of a fresh start: no GOTO window, the main window not minimised.
void ResetScriptCommands();

// Runs command k at empty event i. Returns true with *delay set when the hook is to
// return that delay (GOTO, WAIT); false when the hook passes the call on, in which case
// the continuation line is already logged.
bool RunScriptCommand(int32_t k, int32_t i, int32_t* delay);
// A later offer of empty event i: a command still at work there (a GOTO that has not
// found its window yet and may search again) goes on; true with *delay set to what the
// hook returns, false when no command is waiting at i.
bool ContinueScriptCommand(int32_t i, int32_t* delay);
// Forgets a command still at work (the playback stopped or a pass ended).
void CancelScriptCommandRetry();
HWND32 FindWindowByTitle(const char* text);
