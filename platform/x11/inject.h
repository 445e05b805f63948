// Synthetic input through XTest on the program's connection, shared by the input seam
// (keybd_event, mouse_event) and the journal playback driver. Nothing here flushes: the
// caller flushes once per event or once per batch, whichever keeps the timing.
#pragma once
#include <X11/Xlib.h>

#include <cstdint>

// Whether the server offers XTest (asked once per connection).
bool X11HasXTest(Display* display);

// Presses or releases the key of a virtual key with its US meaning, in the active
// layout. A symbol the layout lacks is typed through a spare key remapped for the
// moment. A code with no symbol is pressed by its PC scan code and extended bit, and so
// is the side of a generic Shift, Ctrl or Alt that its scan code names. A release goes
// to the key the matching press went to, whatever the layout did in between. False when
// nothing could be sent.
bool X11InjectKey(Display* display, uint8_t vk, uint8_t scan, bool extended, bool press);

// Moves the pointer to a point of the default screen, clamped to the screen.
void X11InjectMotion(Display* display, int x, int y);
void X11InjectButton(Display* display, unsigned button, bool press);

// Releases every key and button that is still down through XTest, as a playback that
// ended between a press and its release left it. Flushes: it ends a run of input rather
// than belonging to one.
void X11ReleaseHeldInput(Display* display);
