// The user's shared block on the real system: private, kept for later openers, never
// taken from a name that someone left open to others.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/shared_memory.h"

namespace {

class SharedMemoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        name_ = "kelmor-test-" + std::to_string(getpid());
        path_ = "/" + name_ + "-" + std::to_string(getuid());
        shm_unlink(path_.c_str());
    }
    void TearDown() override { shm_unlink(path_.c_str()); }
    std::string name_, path_;
};

TEST_F(SharedMemoryTest, ASecondOpenerInAnotherProcessFindsTheBlockUnchanged) {
    bool created = false;
    auto* block = static_cast<uint8_t*>(SysOpenSharedMemory(name_.c_str(), 2396, &created));
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(created);
    EXPECT_EQ(block[0] | block[2395], 0);
    block[0] = 7;
    block[2395] = 9;
    const int fd = shm_open(path_.c_str(), O_RDONLY, 0);
    struct stat info;
    ASSERT_EQ(fstat(fd, &info), 0);
    close(fd);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(info.st_size, 2396);

    const pid_t child = fork();
    if (child == 0) {
        bool made = true;
        auto* seen = static_cast<uint8_t*>(SysOpenSharedMemory(name_.c_str(), 2396, &made));
        _exit(seen != nullptr && !made && seen[0] == 7 && seen[2395] == 9 ? 0 : 1);
    }
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    SysCloseSharedMemory(block, 2396);
}

TEST_F(SharedMemoryTest, ANameOpenToOthersIsNotUsed) {
    const int fd = shm_open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(fchmod(fd, 0666), 0);
    close(fd);
    bool created = true;
    EXPECT_EQ(SysOpenSharedMemory(name_.c_str(), 2396, &created), nullptr);
}

}  // namespace
