// The program's own X connection, shared by the X11 back ends (injection, window search,
// the cancel grab). Opened on first use from $DISPLAY and watched by the GLib main loop,
// so X events are handled between the loop's other work, on its one thread.
#pragma once
#include <X11/Xlib.h>

// The connection; nullptr when no display can be opened (the reason goes to standard
// error once).
Display* X11Display();
// Adds a handler the loop calls for every event arriving on the connection (at most 8).
void X11AddEventHandler(void (*handler)(XEvent* event));

// A window may vanish between being found and being used; that is an everyday event on
// a desktop, not a reason to end the program. Between these two calls X errors are
// counted instead of printed; X11UntrapErrors syncs and returns the first error code
// (0 when the requests went through).
void X11TrapErrors();
int X11UntrapErrors();

// From now on a display that goes away makes the requests of this back end's connections
// fail instead of ending the program: the program has a handler of its own for that,
// which runs its exit step (and that step's requests) first. Connections opened later
// are given to X11AdoptConnection, which treats them alike.
void X11OutliveLostDisplay();
void X11AdoptConnection(Display* display);
