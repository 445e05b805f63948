// The real clock: a sleep lasts its whole length even when signals interrupt it.
#include <signal.h>
#include <sys/time.h>

#include <gtest/gtest.h>

#include "platform/clock.h"

namespace {
volatile sig_atomic_t gAlarms = 0;
void OnAlarm(int) { ++gAlarms; }
}  // namespace

TEST(PosixClockTest, SleepSurvivesInterruptingSignals) {
    struct sigaction action = {};
    struct sigaction previous = {};
    action.sa_handler = OnAlarm;  // no SA_RESTART: the sleep sees EINTR
    ASSERT_EQ(sigaction(SIGALRM, &action, &previous), 0);
    struct itimerval every5ms = {{0, 5000}, {0, 5000}};
    struct itimerval off = {};
    ASSERT_EQ(setitimer(ITIMER_REAL, &every5ms, nullptr), 0);

    const uint32_t start = SysGetTickCount();
    SysSleep(60);
    const uint32_t elapsed = SysGetTickCount() - start;

    setitimer(ITIMER_REAL, &off, nullptr);
    sigaction(SIGALRM, &previous, nullptr);
    EXPECT_GT(gAlarms, 1);
    EXPECT_GE(elapsed, 59u) << "the tick rounds down to whole milliseconds";
}
