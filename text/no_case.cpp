#include "text/no_case.h"

#include <cstring>

namespace {

inline unsigned char Lower(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u + 32) : u;
}

}  // namespace

bool EqualNoCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        if (Lower(*a) != Lower(*b)) return false;
        if (*a == '\0') return true;
    }
}

bool EqualNoCaseN(const char* a, size_t aLength, const char* b) {
    for (size_t i = 0; i < aLength; ++i, ++b) {
        if (*b == '\0' || Lower(a[i]) != Lower(*b)) return false;
    }
    return *b == '\0';
}

char* FindNoCase(const char* text, const char* pattern) {
    if (text == nullptr || pattern == nullptr || pattern[0] == '\0') return nullptr;
    const unsigned char first = Lower(pattern[0]);
    for (const char* t = text; *t != '\0'; ++t) {
        if (Lower(*t) != first) continue;
        const char* a = t + 1;
        const char* b = pattern + 1;
        while (*b != '\0' && Lower(*a) == Lower(*b)) {
            ++a;
            ++b;
        }
        if (*b == '\0') return const_cast<char*>(t);
    }
    return nullptr;
}

int ReplaceAllNoCase(char* text, const char* pattern, const char* replacement) {
    if (text == nullptr || pattern == nullptr || replacement == nullptr) return 0;
    const size_t plen = strlen(pattern);
    const size_t rlen = strlen(replacement);
    int count = 0;
    char* from = text;
    for (char* hit = FindNoCase(from, pattern); hit != nullptr; hit = FindNoCase(from, pattern)) {
        memmove(hit + rlen, hit + plen, strlen(hit + plen) + 1);
        memcpy(hit, replacement, rlen);
        from = hit + rlen;
        ++count;
    }
    return count;
}

int ReplaceAllNoCaseBounded(char* text, int size, const char* pattern, const char* replacement, bool* cut) {
    if (cut != nullptr) *cut = false;
    if (text == nullptr || pattern == nullptr || replacement == nullptr || size <= 0) return 0;
    const size_t cap = static_cast<size_t>(size) - 1;  // characters the buffer holds
    const size_t plen = strlen(pattern);
    const size_t rlen = strlen(replacement);
    int count = 0;
    char* from = text;
    for (char* hit = FindNoCase(from, pattern); hit != nullptr; hit = FindNoCase(from, pattern)) {
        const size_t at = static_cast<size_t>(hit - text);
        const size_t tail = strlen(hit + plen);
        size_t putRepl = rlen;
        if (at + putRepl > cap) putRepl = cap - at;
        size_t putTail = tail;
        if (at + putRepl + putTail > cap) putTail = cap - at - putRepl;
        if (putRepl < rlen || putTail < tail) {
            if (cut != nullptr) *cut = true;
        }
        memmove(hit + putRepl, hit + plen, putTail);
        hit[putRepl + putTail] = '\0';
        memcpy(hit, replacement, putRepl);
        from = hit + putRepl;
        ++count;
        if (putRepl < rlen) break;  // nothing fits behind a cut replacement
    }
    return count;
}
