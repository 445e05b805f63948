#include "recording/playback_state.h"

int32_t nCompletedPasses = 0;
