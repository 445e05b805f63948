// The system seam on the real system: error texts, the program's own path, the places of
// the log and of files in the user's profile, and the tick clock.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/clock.h"
#include "platform/module.h"
#include "platform/system.h"

TEST(SystemTest, ErrorTextsVersionAndLastError) {
    char text[1024];
    ASSERT_TRUE(SysFormatError(ERROR_ACCESS_DENIED, text, sizeof text));
    const std::string access = text;
    EXPECT_GT(access.size(), 2u);
    EXPECT_EQ(access.substr(access.size() - 2), "\r\n") << "the system's text as it gives it";
    EXPECT_FALSE(SysFormatError(999999, text, sizeof text));
    EXPECT_STREQ(text, "");

    SysSetLastError(1234);
    EXPECT_EQ(SysGetLastError(), 1234u);
    EXPECT_EQ(GetLastError(), 1234u);

    uint32_t platform = 0, major = 0;
    ASSERT_TRUE(SysGetVersion(&platform, &major, nullptr, nullptr));
    EXPECT_EQ(platform, VER_PLATFORM_WIN32_NT);
    EXPECT_GE(major, 5u);
}

TEST(SystemTest, OwnPathLogPathAndFilesInTheProfileNeverCut) {
    char path[MAX_PATH];
    const int length = SysGetModuleFileName(path, sizeof path);
    ASSERT_GT(length, 0);
    EXPECT_EQ(static_cast<size_t>(length), strlen(path));
    EXPECT_NE(std::string(path).find("kelmor_win32_tests.exe"), std::string::npos) << path;
    char small[8] = "x";
    EXPECT_EQ(SysGetModuleFileName(small, sizeof small), 0);
    EXPECT_STREQ(small, "");

    ASSERT_TRUE(SysDefaultLogPath(path, sizeof path));
    EXPECT_STREQ(path, "C:\\Kelmor.log");
    EXPECT_FALSE(SysDefaultLogPath(small, sizeof small));
    EXPECT_STREQ(small, "");

    ASSERT_TRUE(SetEnvironmentVariableA("USERPROFILE", "C:\\Users\\someone"));
    ASSERT_TRUE(SysHomeFilePath("Kelmor.reg", path, sizeof path));
    EXPECT_STREQ(path, "C:\\Users\\someone\\Kelmor.reg");
    EXPECT_FALSE(SysHomeFilePath("Kelmor.reg", small, sizeof small));
    EXPECT_STREQ(small, "");
    ASSERT_TRUE(SetEnvironmentVariableA("USERPROFILE", nullptr));
    EXPECT_FALSE(SysHomeFilePath("Kelmor.reg", path, sizeof path));
}

TEST(SystemTest, TicksFollowSleepAndModulesComeWithTheirEntriesOrAReason) {
    const uint32_t before = SysGetTickCount();
    SysSleep(100);
    EXPECT_GE(SysGetTickCount() - before, 80u) << "the tick moves in steps of up to 16 ms";
    SYSTEMTIME now;
    SysGetLocalTime(&now);
    EXPECT_GE(now.wYear, 2024);
    EXPECT_TRUE(now.wMonth >= 1 && now.wMonth <= 12);

    char why[256] = "";
    EXPECT_NE(ModuleLoadEntry("kernel32.dll", "GetTickCount", why, sizeof why), nullptr);
    EXPECT_EQ(ModuleLoadEntry("kernel32.dll", "ReloadServiceCache", why, sizeof why), nullptr);
    EXPECT_STRNE(why, "");
    why[0] = '\0';
    EXPECT_EQ(ModuleLoad("KelmorNoSuchService.DLL", why, sizeof why), nullptr);
    EXPECT_STRNE(why, "");
}
