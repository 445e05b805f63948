// The keymap the virtual keyboard hands the compositor, which passes it on to the program
// with the focus: the US layout, which recorded keys replay on, and besides it a key of
// its own for each character of a text that the US layout lacks. A program that is
// given the keymap makes of every key exactly what the keymap says, so each character
// arrives as itself, whatever layout the user has. Only libxkbcommon: no compositor.
#pragma once
#include <xkbcommon/xkbcommon.h>

#include <cstdint>

// Key codes a client of the X protocol can take (Xwayland's programs get the same keys).
const xkb_keycode_t kLowestKeycode = 8, kHighestKeycode = 255;
const int kMaxCharacterKeys = 128;

struct MadeKeymap {
    xkb_context* context;
    xkb_keymap* keymap;  // the one made last, base and character keys
    // The key codes the US layout leaves without symbols, and the character each carries
    // now (0 for none).
    xkb_keycode_t spare[kMaxCharacterKeys];
    uint32_t carried[kMaxCharacterKeys];
    int spareCount;
    int nextSpare;  // where the next character goes once every spare key carries one
};

// The US layout alone. False when libxkbcommon finds no layout data (xkb-data).
bool MakeBaseKeymap(MadeKeymap* made);
// Puts the character on a spare key (one that carries no character yet, else the one
// given out longest ago that is not in held, a bit per key code) and makes the keymap
// anew. Returns its key, 0 when the character has no symbol or no key is left.
xkb_keycode_t AddCharacterKey(MadeKeymap* made, uint32_t character, const uint8_t held[32]);
// The key a character was given, 0 for none.
xkb_keycode_t CharacterKey(const MadeKeymap* made, uint32_t character);
// The keymap as the text the compositor takes (free() it); nullptr when out of memory.
char* KeymapText(const MadeKeymap* made);
void FreeMadeKeymap(MadeKeymap* made);
