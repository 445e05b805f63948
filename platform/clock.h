// Seam: the tick clock and the local wall clock.
#pragma once
#include <cstdint>

struct SYSTEMTIME {
    uint16_t wYear;
    uint16_t wMonth;
    uint16_t wDayOfWeek;
    uint16_t wDay;
    uint16_t wHour;
    uint16_t wMinute;
    uint16_t wSecond;
    uint16_t wMilliseconds;
};

// Milliseconds since an arbitrary start, wrapping at 2^32; the clock that journal
// event times are stamped with.
uint32_t SysGetTickCount();
void SysGetLocalTime(SYSTEMTIME* out);
// Blocks the calling thread for at least this long.
void SysSleep(uint32_t milliseconds);
