// The keyboard service as the main program controls it.
#pragma once
#include <cstdint>

extern intptr_t ghServiceHook;  // 0 while the service hook is not installed

// Every global of host/ back to a fresh start: no service hook, empty Mapping tables.
void ResetHostState();

// Why the service hook is taken away; the service control logs the reason's number.
enum ServiceRemoval { REMOVE_FOR_RECORDING = 2, REMOVE_FOR_PLAYBACK = 3, REMOVE_AT_EXIT = 4 };
// Removes the service hook, logging as the service control does; nothing when it is not
// installed.
void RemoveServiceForJournal(int reason);
// The service's share of a SERVICE_TIMER tick when no journal hook runs.
void ServiceTimerUpkeep();
// Refills the Mapping tables from the store and hands them, with the stored ShortTypes,
// to the keyboard service's cache. False when no service is loaded to take them.
bool ReloadServiceCache();
