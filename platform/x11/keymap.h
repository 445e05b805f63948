// Virtual-key codes keep their Windows values and US-layout meaning on X11: recordings
// travel between the two systems, and the core's key tables speak virtual keys.
#pragma once
#include <X11/Xlib.h>

#include <cstdint>

// The keysym a virtual key stands for (the unshifted symbol of its US key); NoSymbol
// for codes with no key.
KeySym X11VkToKeysym(uint8_t vk);
// The virtual key of a keysym (either level of a key: 'a' and 'A' are both VK 'A');
// 0 when none stands for it.
uint8_t X11KeysymToVk(KeySym keysym);
// The virtual key of a pressed key, as the recorder stores it: by the symbol the key
// carries in the active layout, the keypad's digits when Num Lock is on (modifier state
// from the event); for a typing key whose symbols the US keyboard lacks (ß, a dead key,
// a Cyrillic letter), the US keyboard's key at the same place. 0 for a key with no
// virtual key.
uint8_t X11KeycodeToVk(Display* display, unsigned keycode, unsigned state);
// The same for a known Num Lock state, asking the server nothing once Xlib has the map.
uint8_t X11KeycodeToVkWith(Display* display, unsigned keycode, bool numLock);
// The character a key makes in the active layout with the given modifier and group state
// (an event's): its level's symbol as Unicode, Caps Lock and Ctrl applied as programs
// apply them (Ctrl with a letter makes a control character). 0 for keys that make none:
// modifiers, function and dead keys.
uint32_t X11KeyCharacter(Display* display, unsigned keycode, unsigned state);
// Shift, Ctrl and Alt without their side, as the system's hooks name them; other keys
// as they are.
uint8_t X11SidelessVk(uint8_t vk);

// The PC scan code of a key and whether the PC reaches it through its extended prefix;
// scan 0 for a key the PC keyboard does not have.
void X11KeycodeToScanCode(unsigned keycode, uint8_t* scan, bool* extended);
// The key of a PC scan code, the way back: 0 when the display has no such key.
KeyCode X11ScanCodeToKeycode(Display* display, uint8_t scan, bool extended);

// The modifier bit (ShiftMask ... Mod5Mask) a key carrying keysym sets; 0 when no such
// key is a modifier. Given the modifier mapping, asks the server nothing.
unsigned X11ModifierMaskOf(Display* display, KeySym keysym, XModifierKeymap* map = nullptr);
// Every state of the lock keys (Caps, Num and Scroll Lock, those that are modifiers) a
// key may arrive with, as modifier masks: a grab holds a combination under each of them.
// Returns how many went to out (1 to 8).
int X11LockMasks(Display* display, unsigned out[8], XModifierKeymap* map = nullptr);
