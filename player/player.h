// The journal playback hook: hands the recording to the system one event at a time.
#pragma once
#include <cstdint>

#include "platform/wintypes.h"
#include "player/player_state.h"


intptr_t JournalPlaybackProc(int code, uintptr_t wParam, intptr_t lParam);
void FillPlaybackEvent(EVENTMSG* record);
// Readies the player for a new pass (first event, fresh, no surplus).
void ResetPlayerForPass();
// Clears the pending delay, the surplus and a GOTO still searching (end of a pass).
void ClearPlayerDelays();
// Every global of player/ back to a fresh start: no journal hook, the player, the
// recorder and the script commands idle.
void ResetPlayerState();
