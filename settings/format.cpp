#include "settings/format.h"

#include <cstdint>

namespace {

struct Sink {
    char* out;
    int size;
    int len;
    void put(char c) {
        if (len + 1 < size) out[len++] = c;
    }
    void pad(char c, int n) {
        for (int i = 0; i < n; ++i) put(c);
    }
};

int Digits(char* buf, uint32_t v, unsigned base, bool upper) {
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    char tmp[16];
    int n = 0;
    do {
        tmp[n++] = digits[v % base];
        v /= base;
    } while (v != 0);
    for (int i = 0; i < n; ++i) buf[i] = tmp[n - 1 - i];
    return n;
}

}  // namespace

int FormatTextV(char* out, int size, const char* format, va_list args) {
    if (out == nullptr || size <= 0) return 0;
    Sink s{out, size, 0};
    if (format == nullptr) format = "";
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') {
            s.put(*p);
            continue;
        }
        ++p;
        if (*p == '%') {
            s.put('%');
            continue;
        }
        bool left = false, zero = false, alt = false;
        for (;; ++p) {
            if (*p == '-') left = true;
            else if (*p == '0') zero = true;
            else if (*p == '#') alt = true;
            else break;
        }
        int width = 0;
        while (*p >= '0' && *p <= '9') width = width * 10 + (*p++ - '0');
        int precision = -1;
        if (*p == '.') {
            ++p;
            precision = 0;
            while (*p >= '0' && *p <= '9') precision = precision * 10 + (*p++ - '0');
        }
        bool half = false;
        if (*p == 'l' || *p == 'L') ++p;
        else if (*p == 'h' || *p == 'H') {
            half = true;
            ++p;
        }
        if (*p == '\0') break;
        char conv = *p;
        char body[40];
        int bodyLen = 0;
        const char* text = nullptr;
        int textLen = 0;
        const char* prefix = "";
        switch (conv) {
            case 'c':
            case 'C': {
                body[0] = static_cast<char>(va_arg(args, int));
                text = body;
                textLen = 1;
                break;
            }
            case 's':
            case 'S': {
                text = va_arg(args, const char*);
                if (text == nullptr) text = "(null)";
                while (text[textLen] != '\0' && (precision < 0 || textLen < precision)) ++textLen;
                break;
            }
            case 'd':
            case 'i': {
                int32_t v = static_cast<int32_t>(va_arg(args, int));
                if (half) v = static_cast<int16_t>(v);
                uint32_t mag = v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
                if (v < 0) prefix = "-";
                bodyLen = Digits(body, mag, 10, false);
                break;
            }
            case 'u':
            case 'x':
            case 'X': {
                uint32_t v = static_cast<uint32_t>(va_arg(args, unsigned));
                if (half) v &= 0xFFFFu;
                unsigned base = conv == 'u' ? 10 : 16;
                bodyLen = Digits(body, v, base, conv == 'X');
                if (alt && conv != 'u' && v != 0) prefix = conv == 'X' ? "0X" : "0x";
                break;
            }
            default:
                // An unknown conversion prints its character, as the system formatter does.
                s.put(conv);
                continue;
        }
        if (text == nullptr) {
            // Numbers: precision is the least number of digits.
            int zeros = precision > bodyLen ? precision - bodyLen : 0;
            int prefixLen = 0;
            while (prefix[prefixLen] != '\0') ++prefixLen;
            int total = prefixLen + zeros + bodyLen;
            int fill = width > total ? width - total : 0;
            if (!left && !zero) s.pad(' ', fill);
            for (int i = 0; i < prefixLen; ++i) s.put(prefix[i]);
            if (!left && zero) s.pad('0', fill);
            s.pad('0', zeros);
            for (int i = 0; i < bodyLen; ++i) s.put(body[i]);
            if (left) s.pad(' ', fill);
        } else {
            int fill = width > textLen ? width - textLen : 0;
            if (!left) s.pad(zero ? '0' : ' ', fill);
            for (int i = 0; i < textLen; ++i) s.put(text[i]);
            if (left) s.pad(' ', fill);
        }
    }
    out[s.len] = '\0';
    return s.len;
}

int FormatText(char* out, int size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int n = FormatTextV(out, size, format, args);
    va_end(args);
    return n;
}
