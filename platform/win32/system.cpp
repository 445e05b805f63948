#include "platform/win32/windows_api.h"

#include <cstdio>
#include <cstring>

#include "platform/system.h"

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
    const int length = snprintf(buf, static_cast<size_t>(size), "%s", "C:\\Kelmor.log");
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
        known ? snprintf(buf, static_cast<size_t>(size), "%s%s%s", home, separated ? "" : "\\", name) : -1;
    if (length >= 0 && length < size) return true;
    buf[0] = '\0';
    return false;
}
