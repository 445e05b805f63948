#include "text/utf8.h"

#include <cstring>

namespace {

// The characters of Windows-1252's 0x80-0x9F; the five bytes it leaves undefined read as
// the C1 control of the same number, as the system's own conversion reads them.
const uint16_t kHigh1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

uint32_t From1252(unsigned char byte) { return byte >= 0x80 && byte < 0xA0 ? kHigh1252[byte - 0x80] : byte; }

// The length of the valid sequence at text (with at most `left` bytes), its character in
// *out; 0 when none starts there.
int Sequence(const unsigned char* text, size_t left, uint32_t* out) {
    const unsigned char lead = text[0];
    if (lead < 0x80) {
        *out = lead;
        return 1;
    }
    int length = 0;
    uint32_t value = 0, least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1Fu, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0Fu, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07u, least = 0x10000;
    } else {
        return 0;
    }
    if (left < static_cast<size_t>(length)) return 0;
    for (int i = 1; i < length; ++i) {
        if ((text[i] & 0xC0) != 0x80) return 0;
        value = value << 6 | (text[i] & 0x3Fu);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    *out = value;
    return length;
}

}  // namespace

bool IsUtf8(const char* text, size_t length) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    for (size_t i = 0; i < length;) {
        uint32_t character = 0;
        const int n = Sequence(p + i, length - i, &character);
        if (n == 0) return false;
        i += static_cast<size_t>(n);
    }
    return true;
}

uint32_t NextCharacter(const char** text) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(*text);
    if (*p == 0) return 0;
    // A terminator stops a sequence like any other byte that does not continue it.
    uint32_t character = 0;
    const int n = Sequence(p, strnlen(*text, 4), &character);
    if (n == 0) {
        *text += 1;
        return From1252(*p);
    }
    *text += n;
    return character;
}

int EncodeUtf8(uint32_t c, char out[4]) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    if (c < 0x80) {
        out[0] = static_cast<char>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<char>(0xC0 | c >> 6);
        out[1] = static_cast<char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = static_cast<char>(0xE0 | c >> 12);
        out[1] = static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out[2] = static_cast<char>(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | c >> 18);
    out[1] = static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out[2] = static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out[3] = static_cast<char>(0x80 | (c & 0x3F));
    return 4;
}

int Windows1252ToUtf8(const char* text, size_t length, char* out, size_t size, bool* cut) {
    if (cut != nullptr) *cut = false;
    if (out == nullptr || size == 0) return 0;
    size_t written = 0;
    for (size_t i = 0; i < length; ++i) {
        char bytes[4];
        const int n = EncodeUtf8(From1252(static_cast<unsigned char>(text[i])), bytes);
        if (written + static_cast<size_t>(n) > size - 1) {
            if (cut != nullptr) *cut = true;
            break;
        }
        memcpy(out + written, bytes, static_cast<size_t>(n));
        written += static_cast<size_t>(n);
    }
    out[written] = '\0';
    return static_cast<int>(written);
}

int TextToUtf8(const char* text, size_t length, char* out, size_t size, bool* cut) {
    if (!IsUtf8(text, length)) return Windows1252ToUtf8(text, length, out, size, cut);
    if (cut != nullptr) *cut = false;
    if (out == nullptr || size == 0) return 0;
    size_t n = length;
    if (n > size - 1) {
        n = Utf8Prefix(text, size);
        if (cut != nullptr) *cut = true;
    }
    memmove(out, text, n);
    out[n] = '\0';
    return static_cast<int>(n);
}

size_t Utf8Prefix(const char* text, size_t size) {
    if (size == 0) return 0;
    const size_t n = strnlen(text, size - 1);
    if (text[n] == '\0' || n == 0) return n;
    // Step back over continuation bytes to the lead of the sequence the cut falls in, and
    // keep that sequence only when it ends exactly at the cut.
    size_t start = n;
    while (start > 0 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80 && n - start < 3) --start;
    if (start == 0) return n;
    const unsigned char lead = static_cast<unsigned char>(text[start - 1]);
    if (lead < 0xC0) return n;  // the cut falls between plain characters
    const size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    return n - (start - 1) >= need ? n : start - 1;
}
