// The keyboard service as the main program controls it.
#pragma once
#include <cstdint>

extern intptr_t ghServiceHook;  // 0 while the service hook is not installed

// Removes the service hook before a recording (reason 2) or playback (reason 3), logging
// as the service control does; nothing when it is not installed.
void RemoveServiceForJournal(int reason);
// The service's share of a SERVICE_TIMER tick when no journal hook runs.
void ServiceTimerUpkeep();
