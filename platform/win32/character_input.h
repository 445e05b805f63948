// Characters as input on Windows: the one decision "character -> key events" that typed
// text (key_typing.cpp, the keyboard service's DLL) and the journal playback's character
// records share. A character goes through the key of the foreground window's layout when
// that key makes it with Shift and/or AltGr at most, and otherwise through the system's
// Unicode input, which makes any character without pressing a key at all.
#pragma once
#include "platform/win32/windows_api.h"

// The most input one press or one release of a character takes: Shift, Ctrl and Alt
// around its key.
constexpr int kCharacterInputMax = 4;

// Modifiers as VkKeyScanEx reports them in the high byte of its answer.
enum : uint8_t { kKeyShift = 1, kKeyCtrl = 2, kKeyAlt = 4 };

// Whether text may type the character: no control character (C0, DEL, C1), no surrogate,
// nothing past U+10FFFF.
bool WinIsTypableCharacter(uint32_t character);

// The system-free part of the decision. keyScan is what VkKeyScanEx answered for the
// character (-1 for none); madeBack whether the key with those modifiers gives the
// character back in the layout's own translation; held the modifiers down now. The key's
// way is taken only for a key of the main block whose level needs no more than Shift
// and AltGr (Ctrl+Alt); the modifiers it wants that are not held are pressed around it.
struct CharacterKeys {
    bool byKey;        // false: Unicode input
    uint8_t vk;        // the key, when byKey
    uint8_t modifiers; // the modifiers to press around it (kKey* bits), none already held
};
CharacterKeys WinChooseCharacterKeys(uint32_t character, int16_t keyScan, bool madeBack, uint8_t held);

// The input that presses (press) or releases one character in the layout active now, in
// out; returns how many entries it filled. A release undoes what the matching press did,
// whatever the layout did in between, and is empty for a character that no press began.
// A lone UTF-16 surrogate (recorded from another program's Unicode input) goes as that
// unit. Nothing is sent here.
int WinCharacterInput(uint32_t character, bool press, INPUT out[kCharacterInputMax]);

// Forgets the presses no release has ended yet (their keys were released another way).
void WinForgetCharacterPresses();

// The character a key makes in a layout with the keyboard state given, without touching
// the layout's dead-key state; 0 for a key that makes none, a dead key, or more than one.
uint32_t WinCharacterOfKey(uint8_t vk, uint8_t scan, const BYTE state[256], HKL layout);
