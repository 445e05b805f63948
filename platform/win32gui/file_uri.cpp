#include "platform/win32gui/file_uri.h"

#include <cstring>

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

bool Win32PathOfFileUri(const char* uri, char* out, int size) {
    if (out == nullptr || size <= 0) return false;
    out[0] = '\0';
    static const char kScheme[] = "file://";
    if (uri == nullptr || strncmp(uri, kScheme, sizeof kScheme - 1) != 0) return false;
    const char* p = uri + sizeof kScheme - 1;
    // "/C:/..." names the drive; the slash before it belongs to the URI.
    if (p[0] == '/' && IsLetter(p[1]) && p[2] == ':') ++p;
    int n = 0;
    for (; *p != '\0' && *p != '#'; ++p) {
        char c = *p;
        if (c == '%' && HexDigit(p[1]) >= 0 && HexDigit(p[2]) >= 0) {
            c = static_cast<char>(HexDigit(p[1]) * 16 + HexDigit(p[2]));
            p += 2;
        } else if (c == '/') {
            c = '\\';
        }
        if (n >= size - 1) {
            out[0] = '\0';
            return false;
        }
        out[n++] = c;
    }
    out[n] = '\0';
    return n > 0;
}
