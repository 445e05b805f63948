// The named section on the real system: made zeroed, found again with its contents by a
// later opener, never mapped larger than it was made.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/shared_memory.h"

TEST(SharedMemoryTest, TheNamedSectionIsSharedByEveryOpenerAndKeepsItsSize) {
    const std::string name = "kelmor-test-" + std::to_string(GetCurrentProcessId());
    bool created = false;
    auto* block = static_cast<uint8_t*>(SysOpenSharedMemory(name.c_str(), 2396, &created));
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(created);
    EXPECT_EQ(block[0] | block[2395], 0);
    block[0] = 7, block[2395] = 9;

    // A second opener (as another instance of the keyboard service is) sees the same bytes
    // through a view of its own.
    bool made = true;
    auto* seen = static_cast<uint8_t*>(SysOpenSharedMemory(name.c_str(), 2396, &made));
    ASSERT_NE(seen, nullptr);
    EXPECT_FALSE(made);
    EXPECT_NE(seen, block);
    EXPECT_EQ(seen[0], 7);
    EXPECT_EQ(seen[2395], 9);
    seen[1] = 5;
    EXPECT_EQ(block[1], 5);

    EXPECT_EQ(SysOpenSharedMemory(name.c_str(), 64 * 1024, &made), nullptr) << "smaller than asked for";
    EXPECT_EQ(SysOpenSharedMemory(name.c_str(), 0, &made), nullptr);
    SysCloseSharedMemory(seen, 2396);
    EXPECT_EQ(block[2395], 9) << "the section lives while one view holds it";
    SysCloseSharedMemory(block, 2396);
    block = static_cast<uint8_t*>(SysOpenSharedMemory(name.c_str(), 2396, &created));
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(created) << "made anew once nobody held it";
    EXPECT_EQ(block[0], 0);
    SysCloseSharedMemory(block, 2396);
}
