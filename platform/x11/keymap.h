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
// from the event); 0 for a key with no virtual key.
uint8_t X11KeycodeToVk(Display* display, unsigned keycode, unsigned state);

// The PC scan code of a key and whether the PC reaches it through its extended prefix;
// scan 0 for a key the PC keyboard does not have.
void X11KeycodeToScanCode(unsigned keycode, uint8_t* scan, bool* extended);
// The key of a PC scan code, the way back: 0 when the display has no such key.
KeyCode X11ScanCodeToKeycode(Display* display, uint8_t scan, bool extended);

// The modifier bit (ShiftMask ... Mod5Mask) a key carrying keysym sets; 0 when no such
// key is a modifier.
unsigned X11ModifierMaskOf(Display* display, KeySym keysym);
