// Texts joined from parts into a bounded buffer. The Windows program has no room for the
// C runtime's printf (its floating-point conversions alone take 14 KB), and these joins
// need nothing else from it.
#pragma once
#include <cstring>
#include <initializer_list>

// One part: its text, and its length when only the first characters count (-1: all).
struct TextPart {
    const char* text;
    int length = -1;
};

// Writes the parts one after another into out (size bytes) and a NUL. Returns the length
// of the whole, or -1 with out empty when it does not fit: a cut path names another file.
inline int JoinText(char* out, int size, std::initializer_list<TextPart> parts) {
    if (out == nullptr || size <= 0) return -1;
    int at = 0;
    for (const TextPart& part : parts) {
        const int length = part.length >= 0 ? static_cast<int>(strnlen(part.text, static_cast<size_t>(part.length)))
                                            : static_cast<int>(strlen(part.text));
        if (length >= size - at) {
            out[0] = '\0';
            return -1;
        }
        memcpy(out + at, part.text, static_cast<size_t>(length));
        at += length;
    }
    out[at] = '\0';
    return at;
}
