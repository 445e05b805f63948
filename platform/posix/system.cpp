#include "platform/system.h"

#include <glib.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/console/terminal_text.h"
#include "platform/posix/last_error.h"
#include "platform/wintypes.h"

namespace {
thread_local uint32_t tLastError = 0;
}

void PosixSetLastErrorFromErrno() { tLastError = static_cast<uint32_t>(errno); }

uint32_t SysGetLastError() { return tLastError; }

void SysSetLastError(uint32_t code) { tLastError = code; }

bool SysFormatError(uint32_t code, char* buf, int size) {
    if (buf == nullptr || size <= 0) return false;
    const char* text = strerrordesc_np(static_cast<int>(code));
    if (text == nullptr || code == 0) return false;
    snprintf(buf, static_cast<size_t>(size), "%s", text);
    return true;
}

bool SysGetVersion(uint32_t* platformId, uint32_t* major, uint32_t* minor, uint32_t* build) {
    struct utsname u;
    if (uname(&u) != 0) {
        PosixSetLastErrorFromErrno();
        return false;
    }
    unsigned a = 0, b = 0, c = 0;
    sscanf(u.release, "%u.%u.%u", &a, &b, &c);
    if (platformId) *platformId = VER_PLATFORM_WIN32_NT;
    if (major) *major = a;
    if (minor) *minor = b;
    if (build) *build = c;
    return true;
}

int SysGetModuleFileName(char* buf, int size) {
    if (buf == nullptr || size <= 0) return 0;
    ssize_t n = readlink("/proc/self/exe", buf, static_cast<size_t>(size) - 1);
    if (n < 0) {
        PosixSetLastErrorFromErrno();
        buf[0] = '\0';
        return 0;
    }
    buf[n] = '\0';
    return static_cast<int>(n);
}

bool SysDefaultLogPath(char* buf, int size) {
    if (buf == nullptr || size <= 0) return false;
    gchar* dir = g_build_filename(g_get_user_state_dir(), "kelmor", nullptr);
    const int length = snprintf(buf, static_cast<size_t>(size), "%s/Kelmor.log", dir);
    const bool fits = length >= 0 && length < size;
    if (fits) {
        g_mkdir_with_parents(dir, 0700);
    } else {
        buf[0] = '\0';
    }
    g_free(dir);
    return fits;
}

bool SysHomeFilePath(const char* name, char* buf, int size) {
    if (buf == nullptr || size <= 0) return false;
    const char* home = g_get_home_dir();
    const int length = home != nullptr && home[0] != '\0' ? snprintf(buf, static_cast<size_t>(size), "%s%s%s", home,
                                                                      g_str_has_suffix(home, "/") ? "" : "/", name)
                                                           : -1;
    if (length >= 0 && length < size) return true;
    buf[0] = '\0';
    return false;
}

int SysTextFromUtf16(const uint16_t* text, int count, char* out, int size) {
    if (out == nullptr || size <= 0 || count < 0) return -1;
    out[0] = '\0';
    // GLib's converter ends at a zero unit; one inside the count is no text either.
    for (int i = 0; i < count; ++i) {
        if (text[i] == 0) return -1;
    }
    glong length = 0;
    gchar* utf8 = g_utf16_to_utf8(reinterpret_cast<const gunichar2*>(text), count, nullptr, &length, nullptr);
    if (utf8 == nullptr) return -1;
    const bool fits = length < size;
    if (fits) memcpy(out, utf8, static_cast<size_t>(length) + 1);
    g_free(utf8);
    return fits ? static_cast<int>(length) : -1;
}

void SysWriteStandardError(const char* line) {
    const char* program = g_get_prgname();
    fprintf(stderr, "%s: %s\n", program != nullptr ? program : "kelmor", TerminalText(line).c_str());
}
