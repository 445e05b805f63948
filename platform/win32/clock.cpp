#include "platform/win32/windows_api.h"

#include "platform/clock.h"

// The tick count the system stamps journal events with.
uint32_t SysGetTickCount() { return GetTickCount(); }

void SysGetLocalTime(SYSTEMTIME* out) {
    WinSystemTime now;
    GetLocalTime(&now);
    out->wYear = now.wYear;
    out->wMonth = now.wMonth;
    out->wDayOfWeek = now.wDayOfWeek;
    out->wDay = now.wDay;
    out->wHour = now.wHour;
    out->wMinute = now.wMinute;
    out->wSecond = now.wSecond;
    out->wMilliseconds = now.wMilliseconds;
}

void SysSleep(uint32_t milliseconds) { Sleep(milliseconds); }
