#include <gtest/gtest.h>

#include <chrono>

#include "platform/process.h"
#include "platform/system.h"

TEST(SysStartProcess, StartsWithoutWaitingAndReportsWhatCannotStart) {
    EXPECT_TRUE(SysStartProcess("true"));
    EXPECT_TRUE(SysStartProcess("sh -c 'exit 3'")) << "a program that ran and ended still started";
    // A long-running program must not hold the caller: it returns once the program runs.
    auto before = std::chrono::steady_clock::now();
    EXPECT_TRUE(SysStartProcess("sleep 5"));
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    EXPECT_FALSE(SysStartProcess("kelmor-no-such-program --x"));
    EXPECT_EQ(SysGetLastError(), 2u);  // ENOENT
    EXPECT_FALSE(SysStartProcess("unbalanced 'quote"));
    EXPECT_FALSE(SysStartProcess(""));
}
