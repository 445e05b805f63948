#include "player/player.h"

int32_t nCurrentEvent = 0;
bool bFreshEvent = true;
int32_t lDelay = 0;
uint32_t dwDelayStart = 0;
int32_t lSurplus = 0;
int32_t lWaitDuration = 0;
