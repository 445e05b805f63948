// Characters typed on X11: the character's own key and level in the active group of the
// layout, with the modifiers that level needs, or a spare key lent for it. Shared by the
// input seam (SysTypeCharacter) and the journal playback driver. Nothing here flushes.
#pragma once
#include <X11/Xlib.h>

#include <cstdint>

// Presses what makes the character (the modifiers its level needs, then its key), or
// releases what the matching press pressed (the key, then those modifiers). Returns the
// number of key events sent, 0 when none could be.
int X11TypeCharacter(Display* display, uint32_t character, bool press);
// Whether the character can be typed at all: not for control characters, code points
// that are no characters, or where neither the layout nor a spare key can make it.
bool X11CanTypeCharacter(Display* display, uint32_t character);
// The keys held for characters were released (a playback stopped in between): their
// releases are not sent again.
void X11ForgetTypedCharacters();
