// The program's printf: the conversions and argument sizes of the system formatter
// the texts were written for (%d %i %u %x %X %c %s with '-', '0', '#', width and
// precision; 'l' and 'h' size prefixes; every integer argument is 32 bits wide).
#pragma once
#include <cstdarg>

// Formats into out (size bytes, NUL-terminated, never overrun). Returns the length of
// the text stored; text that does not fit is cut.
int FormatTextV(char* out, int size, const char* format, va_list args);
int FormatText(char* out, int size, const char* format, ...);
