// Spare keys: key codes that carry no symbol in the layout, lent for a moment to a symbol
// the layout lacks. The symbol goes on every level and group of the key, so that it
// types whatever modifiers are held and whichever group is active; a symbol with two
// cases gets its small letter on the first level of each pair and its capital on the
// second, as a letter key has them, so that Caps Lock does not turn it over in the
// programs. A key lent is given back once it has been left alone for a while.
//
// The keys a process borrowed are noted, with its process id, on the root window, so
// that another process leaves them alone and a start after a process was killed gives
// back those whose owner is gone.
#pragma once
#include <X11/Xlib.h>

#include <cstdint>

// The two cases of a symbol as a spare key carries them: both the symbol itself where it
// has no case, or where its other case is no symbol a server knows.
void X11CasesOfSymbol(KeySym symbol, KeySym* lower, KeySym* upper);
// The spare key carrying symbol (remapped now if none does); 0 when no key is free.
// lower and upper are the symbol's two cases, the same for a symbol without case.
KeyCode X11BorrowSpareKey(Display* display, KeySym lower, KeySym upper);
// Whether a spare key is free or carries a symbol now; false when the display has none.
bool X11HasSpareKeys(Display* display);
// A press and a release of a borrowed key: a key held is not given back.
void X11SpareKeyPressed(KeyCode code);
void X11SpareKeyReleased(KeyCode code);
// The symbol one of this process's spare keys carries now (NoSymbol for a free one); false
// for a key that is none of them.
bool X11SpareKeySymbol(KeyCode code, KeySym* lower);
// Whether a key is lent out, by this process or by another one: its symbols are not the
// layout's.
bool X11IsBorrowedKey(unsigned code);
// Every key lent, a bit per key code.
void X11BorrowedKeys(uint8_t out[32]);
// Whether a mapping notice tells only of a spare key remapped or given back: the layout
// did not change, and nothing read from it needs reading again.
bool X11IsSpareKeyNotice(const XMappingEvent& notice);
// Gives back the keys of processes that are gone (their keys are released first), and
// looks for this process's own spares; once per process, on first use.
void X11ClaimSpareKeys(Display* display);
// After a new layout: keys that carry its symbols now are no spare keys any more, and
// those it left empty are free again.
void X11CheckSpareKeys(Display* display);
// A playback stopped with keys down: they were released, so none counts as held, and
// they are given back after the usual while.
void X11ForgetSpareHolds();
// At exit: every key given back and the note of them taken off the root window.
void X11ReturnSpareKeys(Display* display);
