// The three start-up options, switched in the Options pane and in Advanced Options.
#pragma once
#include <cstdint>

// Reload, Immediately play and Quit when done together would start, play and quit without
// the window ever showing. A person switched the box of one of them: off clears its
// setting at once, on sets it unless the other two are on, when a warning refuses it and
// the box is cleared again.
void OnStartOptionBox(int dialog, int control, uint8_t& option, bool othersOn);
