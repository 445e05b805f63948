#include "platform/clock.h"

#include <errno.h>
#include <sys/time.h>
#include <time.h>

uint32_t SysGetTickCount() {
    // CLOCK_MONOTONIC is also what the X server stamps its events with on Linux, so
    // recorded event times and this tick count agree.
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

void SysGetLocalTime(SYSTEMTIME* out) {
    struct timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    struct tm tm;
    localtime_r(&ts.tv_sec, &tm);
    out->wYear = static_cast<uint16_t>(tm.tm_year + 1900);
    out->wMonth = static_cast<uint16_t>(tm.tm_mon + 1);
    out->wDayOfWeek = static_cast<uint16_t>(tm.tm_wday);
    out->wDay = static_cast<uint16_t>(tm.tm_mday);
    out->wHour = static_cast<uint16_t>(tm.tm_hour);
    out->wMinute = static_cast<uint16_t>(tm.tm_min);
    out->wSecond = static_cast<uint16_t>(tm.tm_sec);
    out->wMilliseconds = static_cast<uint16_t>(ts.tv_nsec / 1000000);
}

void SysSleep(uint32_t milliseconds) {
    struct timespec left;
    left.tv_sec = static_cast<time_t>(milliseconds / 1000u);
    left.tv_nsec = static_cast<long>(milliseconds % 1000u) * 1000000L;
    // A signal cuts the sleep short; the rest is slept on.
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}
