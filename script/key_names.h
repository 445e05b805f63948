// Key names as the Mapping editor shows them, and the US-layout keys that type each
// character. Key codes are virtual-key codes, 0-255.
#pragma once

// Writes the short name of a key ("PgUp", "F5", "Winkey") into out, never more than
// size - 1 characters; an empty text when the key has no name.
void KeyCodeToName(int keyCode, char* out, int size);

// The words a key combination puts before its key, in the order Ctrl, Shift, Alt.
extern const char* const kModifierPrefixes[3];
// A key combination as the Mapping lists show it: "Ctrl + Shift + F7".
void KeyCombinationText(int keyCode, bool ctrl, bool shift, bool alt, char* out, int size);

// Reads a key name back: a name KeyCodeToName gives, a name as the user types it, a
// Mapping list entry ("Left = Play back") or a TYPE key token ("{pagedown}"). Only the
// part before the first " = " counts, and only its first 1023 characters. Never fails:
// when no name is recognised, the first character decides.
int KeyNameToCode(const char* text);

// The key that name names exactly, ignoring case: a name KeyCodeToName gives or one
// KeyNameToCode looks for ("Esc", "Backspace", "Page Up"). 0 for any other text, where
// KeyNameToCode would guess from a part of it.
int KeyNameToCodeExact(const char* name);

// The key that types ch on a US layout; *shift (when given) is set to 1 when Shift must
// be held, else 0. 0 for a character that is on no key of it (control characters, every
// byte past ASCII): text is typed as characters, and this names keys only.
int CharToKey(char ch, int* shift = nullptr);
