// Text is UTF-8 everywhere: files, settings, backups and what is typed. A text that is not
// valid UTF-8 was written by an older program in Windows-1252, and is read as such.
#pragma once
#include <cstddef>
#include <cstdint>

// Whether length bytes of text are valid UTF-8 (no overlong forms, no surrogates, nothing
// past U+10FFFF).
bool IsUtf8(const char* text, size_t length);

// The character at *text, moving *text past it; 0 at the terminator, which is not passed.
// A byte that starts no valid sequence is one character read as Windows-1252.
uint32_t NextCharacter(const char** text);

// Writes the UTF-8 form of a character (at most 4 bytes) and returns its length; 0 for a
// value that is no character (a surrogate, past U+10FFFF).
int EncodeUtf8(uint32_t character, char out[4]);

// Copies length bytes of Windows-1252 text into out as UTF-8, terminated, never more than
// size - 1 bytes and never half a character. Returns the bytes written; *cut (when given)
// tells whether text was left out.
int Windows1252ToUtf8(const char* text, size_t length, char* out, size_t size, bool* cut = nullptr);

// A text as it is to be read: UTF-8 as it stands, converted when it is Windows-1252.
// Same bounds and result as Windows1252ToUtf8.
int TextToUtf8(const char* text, size_t length, char* out, size_t size, bool* cut = nullptr);

// The longest prefix of text, at most size - 1 bytes, that does not end inside a UTF-8
// sequence: where a bounded copy may cut.
size_t Utf8Prefix(const char* text, size_t size);
