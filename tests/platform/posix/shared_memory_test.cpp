// The user's shared block on the real system: private, kept for later openers of the same
// desktop session (one X server, whichever screen) and apart from another session's, never taken from a name that someone
// left open to others.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/shared_memory.h"

TEST(SharedMemoryTest, APrivateBlockThatAnotherProcessFindsUnchanged) {
    const std::string name = "kelmor-test-" + std::to_string(getpid());
    const std::string path = "/" + name + "-" + std::to_string(getuid()) + "-_7";
    setenv("DISPLAY", ":7.0", 1);
    bool created = false;
    auto* block = static_cast<uint8_t*>(SysOpenSharedMemory(name.c_str(), 2396, &created));
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(created);
    EXPECT_EQ(block[0] | block[2395], 0);
    block[0] = 7, block[2395] = 9;
    struct stat info;
    const int fd = shm_open(path.c_str(), O_RDONLY, 0);
    EXPECT_EQ(fstat(fd, &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    const pid_t child = fork();
    if (child == 0) {
        bool made = true;
        auto* seen = static_cast<uint8_t*>(SysOpenSharedMemory(name.c_str(), 2396, &made));
        _exit(seen != nullptr && !made && seen[0] == 7 && seen[2395] == 9 ? 0 : 1);
    }
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // Another screen of the same server, reached another local way, is the same session.
    for (const char* same : {":7.1", "unix:7", "localhost:7.2"}) {
        setenv("DISPLAY", same, 1);
        auto* again = static_cast<uint8_t*>(SysOpenSharedMemory(name.c_str(), 2396, &created));
        ASSERT_NE(again, nullptr) << same;
        EXPECT_FALSE(created) << same;
        EXPECT_EQ(again[0], 7) << same;
        SysCloseSharedMemory(again, 2396);
    }
    // The same user on another server has a block of its own.
    setenv("DISPLAY", "host:8", 1);
    auto* other = static_cast<uint8_t*>(SysOpenSharedMemory(name.c_str(), 2396, &created));
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(created);
    EXPECT_EQ(other[0], 0);
    SysCloseSharedMemory(other, 2396);
    shm_unlink(("/" + name + "-" + std::to_string(getuid()) + "-host_8").c_str());
    setenv("DISPLAY", ":7.0", 1);
    SysCloseSharedMemory(block, 2396);
    // Left open to others, the name is not used.
    fchmod(fd, 0666);
    close(fd);
    EXPECT_EQ(SysOpenSharedMemory(name.c_str(), 2396, &created), nullptr);
    shm_unlink(path.c_str());
}
