// Text from files and command lines made safe to print on a terminal: control characters
// and bytes that are not valid UTF-8 are written as \xNN, so no file can move the cursor,
// retitle or clear the terminal, or start an escape sequence there.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

namespace terminal_text {

// Length of the valid UTF-8 sequence of a printable character at p (2 to 4), or 0. The C1
// controls U+0080...U+009F count as invalid: some terminals act on them in UTF-8 too.
inline int PrintableSequence(const unsigned char* p) {
    int more = 0;
    uint32_t cp = 0;
    if (p[0] >= 0xC2 && p[0] <= 0xDF) {
        more = 1, cp = p[0] & 0x1Fu;
    } else if (p[0] >= 0xE0 && p[0] <= 0xEF) {
        more = 2, cp = p[0] & 0x0Fu;
    } else if (p[0] >= 0xF0 && p[0] <= 0xF4) {
        more = 3, cp = p[0] & 0x07u;
    } else {
        return 0;
    }
    // A NUL is no continuation byte, so the scan never passes the end of the text.
    for (int k = 1; k <= more; ++k) {
        if ((p[k] & 0xC0u) != 0x80u) return 0;
        cp = cp << 6 | (p[k] & 0x3Fu);
    }
    static const uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kLeast[more] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF) || cp <= 0x9F) return 0;
    return more + 1;
}

}  // namespace terminal_text

inline std::string TerminalText(const char* text) {
    std::string out;
    if (text == nullptr) return out;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (*p != '\0') {
        if (*p >= 0x80) {
            const int n = terminal_text::PrintableSequence(p);
            if (n > 0) {
                out.append(reinterpret_cast<const char*>(p), static_cast<size_t>(n));
                p += n;
                continue;
            }
        } else if ((*p >= 0x20 && *p != 0x7F) || *p == '\t') {
            out += static_cast<char>(*p++);
            continue;
        }
        char escaped[5];
        snprintf(escaped, sizeof escaped, "\\x%02x", *p++);
        out += escaped;
    }
    return out;
}
