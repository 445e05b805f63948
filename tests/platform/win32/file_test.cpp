// Files on the real system: whole-file replacement that keeps the old file until the new
// one is complete, appends, reads at offsets, held files and what a name leads to.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/file.h"
#include "platform/system.h"

namespace {

class FileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        ASSERT_NE(GetTempPathA(sizeof temp, temp), 0u);
        dir_ = std::string(temp) + "kelmor-file-" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryA(dir_.c_str(), nullptr));
    }
    void TearDown() override {
        for (const std::string& name : Names()) {
            if (!DeleteFileA(Path(name).c_str())) RemoveDirectoryA(Path(name).c_str());
        }
        EXPECT_TRUE(RemoveDirectoryA(dir_.c_str()));
    }
    std::string Path(const std::string& name) const { return dir_ + "\\" + name; }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // The names in the folder, to see that no temporary file is left behind.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((dir_ + "\\*").c_str(), &found);
        for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
            const std::string name = found.cFileName;
            if (name != "." && name != "..") names.push_back(name);
        }
        if (search != INVALID_HANDLE_VALUE) FindClose(search);
        return names;
    }
    int Count() const { return static_cast<int>(Names().size()); }
    std::string dir_;
};

}  // namespace

TEST_F(FileTest, AReplacementTakesThePlaceOnlyWhenCommittedAndTheOldFileStaysOnFailure) {
    const std::string target = Path("rec.klx");
    ASSERT_TRUE(SysAppendToFile(target.c_str(), "old", 3));

    SysFile f = SysBeginReplacement(target.c_str(), nullptr);
    ASSERT_NE(f, SYS_NO_FILE);
    ASSERT_TRUE(SysWriteAtEnd(f, "dropped", 7));
    EXPECT_EQ(Count(), 2) << "the new content goes to a file beside the target";
    SetLastError(1234);
    SysDiscardReplacement(f);
    EXPECT_EQ(SysGetLastError(), 1234u);
    EXPECT_EQ(Read(target), "old");
    EXPECT_EQ(Count(), 1);

    // While another holds the target it cannot be replaced: the commit fails, says why,
    // and leaves the old file and no temporary one.
    SysFile held = SysHoldFile(target.c_str());
    ASSERT_NE(held, SYS_NO_FILE);
    f = SysBeginReplacement(target.c_str(), nullptr);
    ASSERT_NE(f, SYS_NO_FILE);
    ASSERT_TRUE(SysWriteAtEnd(f, "blocked", 7));
    EXPECT_FALSE(SysCommitReplacement(f));
    EXPECT_NE(SysGetLastError(), 0u);
    SysClose(held);
    EXPECT_EQ(Read(target), "old");
    EXPECT_EQ(Count(), 1);

    f = SysBeginReplacement(target.c_str(), nullptr);
    ASSERT_TRUE(SysWriteAtEnd(f, "new", 3));
    ASSERT_TRUE(SysWriteAtEnd(f, " text", 5));
    ASSERT_TRUE(SysCommitReplacement(f));
    EXPECT_EQ(Read(target), "new text");
    EXPECT_EQ(Count(), 1);
    EXPECT_FALSE(SysCommitReplacement(f)) << "a handle is committed once";

    // A new file is made the same way; a folder is no file to replace.
    f = SysBeginReplacement(Path("fresh.klr").c_str(), nullptr);
    ASSERT_TRUE(SysWriteAtEnd(f, "x", 1));
    ASSERT_TRUE(SysCommitReplacement(f));
    EXPECT_EQ(Read(Path("fresh.klr")), "x");
    EXPECT_EQ(SysBeginReplacement(dir_.c_str(), nullptr), SYS_NO_FILE);
    EXPECT_EQ(SysBeginReplacement(Path("no\\such\\folder.klr").c_str(), nullptr), SYS_NO_FILE);
}

TEST_F(FileTest, AppendsReadsSizesKindsAndHeldFiles) {
    const std::string log = Path("Kelmor.log");
    ASSERT_TRUE(SysAppendToFile(log.c_str(), "a\r\n", 3));
    ASSERT_TRUE(SysAppendToFile(log.c_str(), "bc\r\n", 4));
    EXPECT_EQ(Read(log), "a\r\nbc\r\n");
    EXPECT_EQ(SysGetFileSize(log.c_str()), 7u);
    EXPECT_EQ(SysGetFileSize(dir_.c_str()), 0u);
    EXPECT_EQ(SysGetFileSize(Path("missing").c_str()), 0u);
    EXPECT_FALSE(SysAppendToFile(Path("no\\such\\Kelmor.log").c_str(), "x", 1));

    SysFile in = SysOpenRead(log.c_str());
    ASSERT_NE(in, SYS_NO_FILE);
    char buf[8] = "";
    EXPECT_EQ(SysReadAt(in, 3, buf, sizeof buf), 4) << "short at the end";
    EXPECT_EQ(std::string(buf, 4), "bc\r\n");
    EXPECT_EQ(SysReadAt(in, 100, buf, sizeof buf), 0);
    SysClose(in);
    EXPECT_EQ(SysOpenRead(Path("missing").c_str()), SYS_NO_FILE);
    EXPECT_EQ(SysGetLastError(), 2u);  // ERROR_FILE_NOT_FOUND

    const std::string copy = Path("copy.exe");
    SysFile out = SysBeginReplacement(copy.c_str(), nullptr);
    ASSERT_TRUE(SysAppendFileContent(out, log.c_str()));
    ASSERT_TRUE(SysAppendFileContent(out, log.c_str()));
    ASSERT_TRUE(SysCommitReplacement(out));
    EXPECT_EQ(Read(copy), "a\r\nbc\r\na\r\nbc\r\n");

    EXPECT_EQ(SysGetFileKind(log.c_str()), SYS_FILE_REGULAR);
    EXPECT_EQ(SysGetFileKind(dir_.c_str()), SYS_FILE_FOLDER);
    EXPECT_EQ(SysGetFileKind(Path("missing").c_str()), SYS_FILE_MISSING);
    EXPECT_TRUE(SysIsSameFile(log.c_str(), (dir_ + "\\.\\KELMOR.LOG").c_str()));
    EXPECT_FALSE(SysIsSameFile(log.c_str(), copy.c_str()));
    EXPECT_TRUE(SysCanCreateFilesIn(dir_.c_str()));
    EXPECT_FALSE(SysCanCreateFilesIn(log.c_str()));
    EXPECT_FALSE(SysCanCreateFilesIn(Path("missing").c_str()));

    // A held file (made when missing) is no unused file; once let go it is.
    const std::string lock = Path("held.tmp");
    SysFile held = SysHoldFile(lock.c_str());
    ASSERT_NE(held, SYS_NO_FILE);
    EXPECT_FALSE(SysDeleteUnusedFile(lock.c_str()));
    SysClose(held);
    EXPECT_TRUE(SysDeleteUnusedFile(lock.c_str()));
    EXPECT_EQ(SysHoldFile(dir_.c_str()), SYS_NO_FILE);
    EXPECT_FALSE(SysDeleteUnusedFile(dir_.c_str()));
    EXPECT_EQ(SysGetFileKind(dir_.c_str()), SYS_FILE_FOLDER);
    EXPECT_TRUE(SysDeleteFile(copy.c_str()));
    EXPECT_FALSE(SysDeleteFile(copy.c_str()));
}
