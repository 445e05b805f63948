#include "text/command_line.h"

#include <cstring>

namespace {

struct Bounded {
    char* out;
    size_t size;
    size_t n = 0;
    void Put(char c) {
        if (n + 1 < size) out[n++] = c;
    }
    void Put(char c, size_t times) {
        for (size_t i = 0; i < times; ++i) Put(c);
    }
};

void QuotePosix(Bounded& b, const char* name) {
    b.Put('\'');
    for (const char* p = name; *p != '\0'; ++p) {
        // Close the quote, add an escaped quote, open it again.
        if (*p == '\'') {
            b.Put('\'');
            b.Put('\\');
            b.Put('\'');
        }
        b.Put(*p);
    }
    b.Put('\'');
}

// Backslashes are literal unless a double quote follows them: then they are doubled, so
// that the closing quote (or an escaped one) stays what it is. Paths hold no double
// quotes, so a path with blanks only gains the two quotes around it.
void QuoteWindows(Bounded& b, const char* name) {
    b.Put('"');
    size_t backslashes = 0;
    for (const char* p = name; *p != '\0'; ++p) {
        if (*p == '\\') {
            ++backslashes;
            continue;
        }
        if (*p == '"') {
            b.Put('\\', 2 * backslashes + 1);
        } else {
            b.Put('\\', backslashes);
        }
        backslashes = 0;
        b.Put(*p);
    }
    b.Put('\\', 2 * backslashes);
    b.Put('"');
}

}  // namespace

CommandLineRules SystemCommandLineRules() {
#ifdef _WIN32
    return CommandLineRules::kWindows;
#else
    return CommandLineRules::kPosixShell;
#endif
}

void QuoteArgument(char* out, size_t size, const char* name, CommandLineRules rules) {
    if (size == 0) return;
    const bool windows = rules == CommandLineRules::kWindows;
    // Characters each set of rules takes as they are.
    const char* plain = windows ? nullptr : "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-./:+,@%=~";
    const bool bare = name[0] != '\0' && (windows ? strpbrk(name, " \t\"") == nullptr
                                                  : strspn(name, plain) == strlen(name));
    Bounded b{out, size};
    if (bare) {
        for (const char* p = name; *p != '\0'; ++p) b.Put(*p);
    } else if (windows) {
        QuoteWindows(b, name);
    } else {
        QuotePosix(b, name);
    }
    out[b.n] = '\0';
}
