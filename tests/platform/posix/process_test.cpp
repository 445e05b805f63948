#include <gtest/gtest.h>

#include <glib.h>
#include <glib/gstdio.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/process.h"
#include "platform/system.h"

TEST(SysStartProcess, StartsWithoutWaitingAndReportsWhatCannotStart) {
    EXPECT_TRUE(SysStartProcess("true"));
    EXPECT_TRUE(SysStartProcess("sh -c 'exit 3'")) << "a program that ran and ended still started";
    // A long-running program must not hold the caller: it returns once the program runs.
    auto before = std::chrono::steady_clock::now();
    EXPECT_TRUE(SysStartProcess("sh -c 'exec >/dev/null 2>&1; sleep 5'"));
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    EXPECT_FALSE(SysStartProcess("kelmor-no-such-program --x"));
    EXPECT_EQ(SysGetLastError(), 2u);  // ENOENT
    EXPECT_FALSE(SysStartProcess("unbalanced 'quote"));
    EXPECT_FALSE(SysStartProcess(""));
}

TEST(SysStartProcess, StartedProgramLeavesTheCallersSession) {
    gchar* dir = g_dir_make_tmp("kelmor-process-XXXXXX", nullptr);
    ASSERT_NE(dir, nullptr);
    const std::string out = std::string(dir) + "/session";
    // The shell writes its session id and its pid: equal when it leads a session of its own.
    const std::string command =
        "sh -c 'read -r _ _ _ _ _ sid _ < /proc/$$/stat; echo \"$sid $$\" > " + out + ".tmp; mv " + out + ".tmp " + out + "'";
    ASSERT_TRUE(SysStartProcess(command.c_str()));
    gchar* text = nullptr;
    for (int i = 0; i < 200 && !g_file_get_contents(out.c_str(), &text, nullptr, nullptr); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_NE(text, nullptr);
    long sid = 0, pid = 0;
    ASSERT_EQ(sscanf(text, "%ld %ld", &sid, &pid), 2) << text;
    EXPECT_EQ(sid, pid);
    EXPECT_NE(sid, static_cast<long>(getsid(0)));
    g_free(text);
    g_remove(out.c_str());
    g_rmdir(dir);
    g_free(dir);
}
