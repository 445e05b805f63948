// The journal playback hook: hands the recording to the system one event at a time.
#pragma once
#include <cstdint>

#include "platform/wintypes.h"

// Player state; the recorder uses nCurrentEvent as its write index.
extern int32_t nCurrentEvent;
extern bool bFreshEvent;
extern int32_t lDelay;
extern uint32_t dwDelayStart;
extern int32_t lSurplus;
extern int32_t lWaitDuration;

intptr_t JournalPlaybackProc(int code, uintptr_t wParam, intptr_t lParam);
void FillPlaybackEvent(EVENTMSG* record);
// Readies the player for a new pass (first event, fresh, no surplus).
void ResetPlayerForPass();
// Clears the pending delay, the surplus and a GOTO still searching (end of a pass).
void ClearPlayerDelays();
// Every global of player/ back to a fresh start: no journal hook, the player, the
// recorder and the script commands idle.
void ResetPlayerState();
