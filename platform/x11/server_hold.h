// Holds of the X server on the program's connection.
#pragma once
#include <X11/Xlib.h>

// Keeps every other client's requests (their XTest input among them) from being handled
// until let go, so that what is sent meanwhile arrives whole. Holds nest; letting the
// outermost go flushes.
void X11HoldServer(Display* display);
void X11LetServerGo(Display* display);
bool X11ServerHeld();
