// The virtual keyboard: recorded keys on the US layout of the keymap it made, and
// characters each on a key that makes exactly that character.
#pragma once
#include <cstdint>

bool WaylandKeyboardOpen();
// Presses or releases the key of a virtual key (the scan code's when no symbol stands for
// the virtual key). False when nothing could be sent.
bool WaylandKey(uint8_t vk, uint8_t scan, bool extended, bool press);
// As SysTypeCharacter: the number of key events sent, 0 when none could be.
int WaylandTypeCharacter(uint32_t character, bool press);
bool WaylandCanTypeCharacter(uint32_t character);
// Releases the modifier keys held, or every key held.
void WaylandReleaseKeys(bool modifiersOnly);
