// Which keys make a character in a keyboard layout: the decision itself, on a keymap as
// the server has it (libxkbcommon's copy) and the keyboard's state, asking the server
// nothing, so that it can be tried on any layout.
#pragma once
#include <xkbcommon/xkbcommon.h>

#include <cstdint>

// The keyboard when a character is to be typed: the active group and the real
// modifiers (X's ShiftMask ... Mod5Mask) locked (Caps Lock, Num Lock) and held down.
struct KeyboardNow {
    xkb_layout_index_t group;
    xkb_mod_mask_t locked;
    xkb_mod_mask_t held;
};

const int kMaxModifierKeys = 8;

struct KeyChoice {
    xkb_keycode_t key;
    // Pressed in this order before the key, released in the reverse order after it.
    xkb_keycode_t modifiers[kMaxModifierKeys];
    int modifierCount;
    xkb_mod_mask_t modifierMask;  // the modifiers those keys set
};

// A key of the active group with a level whose symbol is the character, and the modifier
// keys to press so that the key gives that level with the locked modifiers as they are.
// Modifiers already held are not pressed again; a choice they do not spoil is taken
// first, else one they turn into the other case of the character, as they would the
// user's own typing (a held Shift makes capitals), never into another sign. The modifiers pressed are keys whose press only sets the modifier. A
// key of the main block comes before one of the keypad, then fewer modifiers before more.
// Keys marked in avoid (a bit per key code: keys held down, keys lent) are left alone.
// False when the active group has no such key.
bool ChooseKeyForCharacter(xkb_keymap* keymap, const KeyboardNow& now, uint32_t character, const uint8_t avoid[32],
                           KeyChoice* out);

// A key whose press only sets the real modifier (ShiftMask ... Mod5Mask) in the group;
// 0 when the layout has none outside avoid.
xkb_keycode_t ChooseModifierKey(xkb_keymap* keymap, xkb_layout_index_t group, xkb_mod_mask_t modifier,
                                const uint8_t avoid[32]);
