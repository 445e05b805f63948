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
