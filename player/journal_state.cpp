#include "player/playback_control.h"

intptr_t ghJournalHook = 0;
bool gbPlayingNow = false;
uint8_t gbSavedSpeed = 0;
