// Starting programs on the real system: a started program runs (what it writes appears),
// one that ends at once still counts as started, and a missing one fails with the
// system's reason.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/process.h"
#include "platform/system.h"

TEST(ProcessTest, AProgramIsStartedOrTheSystemSaysWhyNot) {
    char temp[MAX_PATH];
    ASSERT_NE(GetTempPathA(sizeof temp, temp), 0u);
    const std::string mark = std::string(temp) + "kelmor-started-" + std::to_string(GetCurrentProcessId());
    DeleteFileA(mark.c_str());

    const DWORD before = GetTickCount();
    ASSERT_TRUE(SysStartProcess(("cmd.exe /c echo started> \"" + mark + "\"").c_str()));
    EXPECT_LT(GetTickCount() - before, 5000u) << "not waited on until it ends";
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    for (int i = 0; i < 500 && attributes == INVALID_FILE_ATTRIBUTES; ++i) {
        Sleep(20);
        attributes = GetFileAttributesA(mark.c_str());
    }
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES) << "the program ran";
    Sleep(100);
    DeleteFileA(mark.c_str());

    // A program that has ended by the time it is looked at.
    EXPECT_TRUE(SysStartProcess("cmd.exe /c exit 3"));

    SetLastError(0);
    EXPECT_FALSE(SysStartProcess("kelmor-no-such-program.exe --help"));
    EXPECT_EQ(SysGetLastError(), 2u);  // ERROR_FILE_NOT_FOUND
}
