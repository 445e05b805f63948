// The end of the X session: the connection to the display is lost.
#pragma once

// Hands the program's handler over; it runs once when the display goes, then the
// program exits with a failure status.
void GtkSetDisplayLostHandler(void (*onDisplayLost)());
// True once the display is gone: nothing more can be asked of it.
bool GtkDisplayLost();
