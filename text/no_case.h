// Text compared, found and replaced regardless of the case of ASCII letters, as every
// name, keyword and option of the program is.
#pragma once
#include <cstddef>

// Equal but for the case of ASCII letters.
bool EqualNoCase(const char* a, const char* b);
// The same for the first aLength characters of a, which need not end there, against the
// whole of b.
bool EqualNoCaseN(const char* a, size_t aLength, const char* b);
// Case-insensitive (ASCII) search; an empty pattern is never found.
char* FindNoCase(const char* text, const char* pattern);
// Replaces every occurrence, resuming behind each replacement; returns the count.
// The caller's buffer must hold the result.
int ReplaceAllNoCase(char* text, const char* pattern, const char* replacement);
// The same, never letting the text grow beyond size - 1 characters: a replacement that
// would not fit is cut at the end of the buffer. *cut is set when anything was cut.
int ReplaceAllNoCaseBounded(char* text, int size, const char* pattern, const char* replacement, bool* cut);
