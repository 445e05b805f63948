// The keyboard service as the main program hosts it: the module loaded in the
// interactive run mode, its hook kept installed while the user wants it and nothing is
// recorded or played, and its cache filled from the store.
#pragma once
#include <cstdint>

#include "platform/keyboard_hook.h"

// The module's cache entry, in the order its parameters are given.
typedef int (*ReloadServiceCacheEntry)(uint32_t hWndMain, uint32_t hHook, int32_t logLevel, const char* logFile,
                                       const uint8_t* action, const uint8_t* control, const uint8_t* shift,
                                       const uint8_t* alt, const char* shortTypes, const char* keyboardLayout);


// Every global of host/ back to a fresh start: no module, no service hook, empty Mapping
// tables.
void ResetHostState();

// Loads the service module and looks up its two entries, saying so when either fails;
// the program runs on without Mappings and ShortTypes then.
void LoadKeyboardService();

// Why the service hook is taken away; the service control logs the reason's number.
enum ServiceRemoval { REMOVE_FOR_TIMER = 1, REMOVE_FOR_RECORDING = 2, REMOVE_FOR_PLAYBACK = 3, REMOVE_AT_EXIT = 4 };
// Removes the service hook, logging as the service control does; nothing when it is not
// installed.
void RemoveServiceForJournal(int reason);
// The service's share of a SERVICE_TIMER tick when no journal hook runs: installs the
// hook when the service is wanted, removes it when not.
void ServiceTimerUpkeep();
// Refills the Mapping tables from the store and hands them, with the stored ShortTypes,
// to the service's cache; an installed hook then takes the Mappings' keys anew. False
// when no service is loaded to take them.
bool RefreshServiceCache();

// The hot keys another program holds, found when the keys were last taken, and whether
// they have been reported since they changed.
enum { BUSY_KEYS_MAX = 16 };

// The service as this program holds it: the module's entries, the hook and what was
// found and said about the keys.
struct ServiceHost {
    intptr_t ghServiceHook = 0;  // 0 while the service hook is not installed
    KeyboardProc gpfnKelmorKeyboardProc = nullptr;
    ReloadServiceCacheEntry gpfnReloadServiceCache = nullptr;
    // A failed installation is said once until it succeeds or the service is turned
    // off, not at every tick.
    bool gbInstallFailureLogged = false;
    // Whether the user was told once that the keys of only some programs can be read.
    bool gbReachTold = false;
    TakenKey gBusyKeys[BUSY_KEYS_MAX] = {};
    int gnBusyKeys = 0;
    bool gbBusyKeysToReport = false;  // found since they were last reported
};
// Global because the timer tick, the commands and the exit step, called by the loop with
// no context, share the one hook this program installs.
extern ServiceHost gServiceHost;
