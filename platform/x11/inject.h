// Synthetic input through XTest on the program's connection, shared by the input seam
// (keybd_event, mouse_event) and the journal playback driver. Nothing here flushes: the
// caller flushes once per event or once per batch, whichever keeps the timing.
#pragma once
#include <X11/Xlib.h>

#include <cstdint>

// Whether the server offers XTest (asked once per connection).
bool X11HasXTest(Display* display);

// Presses or releases the key of a virtual key: the one at the scan code's place when the
// active layout gives it that virtual key (a recording replays under the layout it was
// made in), else the key of the virtual key's US meaning in the active layout. A symbol
// the layout lacks is typed through a spare key lent for the moment (spare_keys.h). A
// code with no symbol is pressed by its PC scan code and extended bit, and so is the side
// of a generic Shift, Ctrl or Alt that its scan code names. A release goes to the key the
// matching press went to, whatever the layout did in between. False when nothing could
// be sent.
bool X11InjectKey(Display* display, uint8_t vk, uint8_t scan, bool extended, bool press);

// Presses or releases a key code through XTest, noting it as held until it comes up.
// Every key sent counts in X11KeyEventSerial: whoever keeps a copy of the keyboard's
// state knows by it whether someone else sent a key since.
void X11FakeKey(Display* display, unsigned code, bool press);
unsigned X11KeyEventSerial();
// The key codes held down through XTest, a bit each.
void X11HeldKeys(uint8_t out[32]);

// Moves the pointer to a point of the default screen, clamped to the screen.
void X11InjectMotion(Display* display, int x, int y);
void X11InjectButton(Display* display, unsigned button, bool press);

// Releases every key and button that is still down through XTest, as a playback that
// ended between a press and its release left it. Flushes: it ends a run of input rather
// than belonging to one.
void X11ReleaseHeldInput(Display* display);

// Sets of key codes (or button numbers), a bit each; numbers past 255 are outside them.
inline bool X11BitSet(const uint8_t bits[32], unsigned n) { return n < 256 && (bits[n / 8] & (1u << (n % 8))) != 0; }
inline void X11SetBit(uint8_t bits[32], unsigned n, bool on) {
    if (n >= 256) return;
    const uint8_t bit = static_cast<uint8_t>(1u << (n % 8));
    bits[n / 8] = static_cast<uint8_t>(on ? bits[n / 8] | bit : bits[n / 8] & ~bit);
}

// The virtual keys a modifier key sets while held: its side's (0xA0-0xA5, the Windows
// keys) and the one without side (0 for the Windows keys); both 0 for other keys.
void X11ModifierVksOf(Display* display, unsigned keycode, uint8_t* sided, uint8_t* generic);

// The keyboard hook's own view of the keys while it hands an event to its procedure.
// The key state seam then answers from it, for the moment of the event and without
// asking the server; a keyboard state set then releases the modifiers it shows down and
// notes those releases (and presses) as the program's own, for the hook to drop when
// they come back.
struct X11KeyView {
    uint8_t state[256];  // as SysGetKeyboardState fills it
    uint8_t down[32];    // key codes down, a bit each
    uint8_t ownPress[32], ownRelease[32];
    // The character the key handed over makes (SysKeyEventCharacter): at its press, with
    // the modifiers and group of then; its release reports the same.
    uint32_t character;
    // When the server took the key handed over, on the tick clock.
    uint32_t time;
};
// Set only while the hook hands an event over.
extern X11KeyView* gX11KeyView;
