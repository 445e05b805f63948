// Playback state shared by the player, the script engine and the file commands.
#pragma once
#include <cstdint>

extern int32_t nCompletedPasses;  // playback passes completed since Playback started
