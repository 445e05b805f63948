#include "player/player.h"

#include "player/playback_control.h"
#include "player/recorder.h"
#include "player/script_commands.h"

int32_t nCurrentEvent = 0;
bool bFreshEvent = true;
int32_t lDelay = 0;
uint32_t dwDelayStart = 0;
int32_t lSurplus = 0;
int32_t lWaitDuration = 0;

void ResetPlayerState() {
    ghJournalHook = 0;
    gbPlayingNow = false;
    gbSavedSpeed = 0;
    gdwLastButtonUpTick = 0;
    ResetScriptCommands();
    nCurrentEvent = 0;
    bFreshEvent = true;
    lDelay = 0;
    dwDelayStart = 0;
    lSurplus = 0;
    lWaitDuration = 0;
}
