// Where a playback or a recording stands: the journal hook, the event it is at, the
// delays it waits out and what the script commands changed on the way.
#pragma once
#include <cstdint>

#include "platform/wintypes.h"

struct PlayerState {
    intptr_t ghJournalHook = 0;      // the one installed journal hook, 0 when idle
    bool gbPlayingNow = false;       // the hook is a playback hook
    uint8_t gbSavedSpeed = 0;        // speed before a Mapping playback went fast; 0 none
    int32_t nCurrentEvent = 0;       // the recorder uses it as its write index
    bool bFreshEvent = true;
    int32_t lDelay = 0;
    uint32_t dwDelayStart = 0;
    int32_t lSurplus = 0;
    int32_t lWaitDuration = 0;
    uint32_t gdwLastButtonUpTick = 0;
    HWND32 ghGotoWindow = 0;         // window of the last successful GOTO; 0 for none
    uint8_t gbConsoleMinimized = 0;  // START minimised the main window for a console
    bool gbScriptAltDown = false;    // the script's Alt (script/type_expansion.h), clear at each pass
    // How the hook and its script commands end what playback control started: a pass
    // played through, and a stop (continuing: the next pass follows). Set by the reset.
    void (*endOfPass)() = nullptr;
    void (*stopPlayback)(bool continuing) = nullptr;
};
// Global because the system calls the journal hooks with no context, and they carry
// the playback from one call to the next.
extern PlayerState gPlayer;
