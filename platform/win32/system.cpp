#include "platform/win32/windows_api.h"

#include <cstdio>
#include <cstring>

#include "platform/system.h"
#include "platform/win32/join_text.h"

bool SysGetVersion(uint32_t* platformId, uint32_t* major, uint32_t* minor, uint32_t* build) {
    OSVERSIONINFOA info;
    memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    // Deprecated because later systems report the version a program was made for: the
    // very answer an old program's checks expect.
    if (!GetVersionExA(&info)) return false;
#pragma GCC diagnostic pop
    if (platformId) *platformId = info.dwPlatformId;
    if (major) *major = info.dwMajorVersion;
    if (minor) *minor = info.dwMinorVersion;
    if (build) *build = info.dwBuildNumber;
    return true;
}

uint32_t SysGetLastError() { return GetLastError(); }

void SysSetLastError(uint32_t code) { SetLastError(code); }

bool SysFormatError(uint32_t code, char* buf, int size) {
    if (buf == nullptr || size <= 0) return false;
    buf[0] = '\0';
    // The text as the system gives it, its closing CR LF included: the log writes it so.
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buf, static_cast<DWORD>(size), nullptr);
    if (n == 0) {
        buf[0] = '\0';
        return false;
    }
    return true;
}

int SysGetModuleFileName(char* buf, int size) {
    if (buf == nullptr || size <= 0) return 0;
    const DWORD n = GetModuleFileNameA(nullptr, buf, static_cast<DWORD>(size));
    // A path that does not fit comes back cut, and a cut path names some other file.
    if (n == 0 || n >= static_cast<DWORD>(size)) {
        if (n != 0) SetLastError(ERROR_INSUFFICIENT_BUFFER);
        buf[0] = '\0';
        return 0;
    }
    return static_cast<int>(n);
}

bool SysDefaultLogPath(char* buf, int size) {
    if (buf == nullptr || size <= 0) return false;
    // The root of the system drive, where the log has always been; no folder to create.
    const int length = JoinText(buf, size, {{"C:\\Kelmor.log"}});
    if (length >= 0 && length < size) return true;
    buf[0] = '\0';
    return false;
}

bool SysHomeFilePath(const char* name, char* buf, int size) {
    if (buf == nullptr || size <= 0) return false;
    char home[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("USERPROFILE", home, sizeof home);
    const bool known = n > 0 && n < sizeof home;
    const size_t homeLength = known ? strlen(home) : 0;
    const bool separated = homeLength > 0 && (home[homeLength - 1] == '\\' || home[homeLength - 1] == '/');
    const int length =
        known ? JoinText(buf, size, {{home}, {separated ? "" : "\\"}, {name}}) : -1;
    if (length >= 0 && length < size) return true;
    buf[0] = '\0';
    return false;
}

int SysTextFromUtf16(const uint16_t* text, int count, char* out, int size) {
    if (out == nullptr || size <= 0 || count < 0) return -1;
    if (count == 0) {
        out[0] = '\0';
        return 0;
    }
    // Without a best fit: a character the code page lacks is refused, not replaced by a
    // look-alike or a question mark. A UTF-8 code page lacks none and takes other flags.
    const bool utf8 = GetACP() == CP_UTF8;
    BOOL replaced = FALSE;
    const int length =
        WideCharToMultiByte(CP_ACP, utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS,
                            reinterpret_cast<const WCHAR*>(text), count, out, size - 1, nullptr, utf8 ? nullptr : &replaced);
    if (length <= 0 || replaced) {
        out[0] = '\0';
        return -1;
    }
    out[length] = '\0';
    return length;
}

void SysWriteStandardError(const char* line) {
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE || line == nullptr) return;
    char program[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, program, sizeof program);
    if (n == 0 || n >= sizeof program) program[0] = '\0';
    const char* name = program;
    for (const char* p = program; *p != '\0'; ++p) {
        if (*p == '\\' || *p == '/') name = p + 1;
    }
    char text[1024];
    const int length = JoinText(text, sizeof text, {{name, static_cast<int>(strcspn(name, "."))}, {": "}, {line, 700}, {"\r\n"}});
    if (length <= 0) return;
    DWORD written = 0;
    WriteFile(error, text, static_cast<DWORD>(length < static_cast<int>(sizeof text) ? length : sizeof text - 1),
              &written, nullptr);
}
