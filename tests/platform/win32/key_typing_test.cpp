#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/input.h"

namespace {

TEST(KeyTypingTest, TheServiceTypingLayoutCanBeActivatedAndIsNamedBackWithinTheBuffer) {
    ASSERT_TRUE(SysActivateKeyboardLayout(kTypingLayout));
    char name[16] = "x";
    EXPECT_EQ(SysGetKeyboardLayoutName(name, sizeof name), 8);
    EXPECT_STREQ(name, kTypingLayout);
    char small[4];
    memset(small, 'x', sizeof small);
    EXPECT_EQ(SysGetKeyboardLayoutName(small, sizeof small), 3);
    EXPECT_STREQ(small, "000");
}

}  // namespace
