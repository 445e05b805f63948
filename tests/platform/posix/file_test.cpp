// Replacing files on a real file system: the old file stays whole until the new one is
// complete, links are followed and permission bits carry over.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "platform/file.h"

namespace {

namespace fs = std::filesystem;

class SysReplacement : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/kelmor-file-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir_ = name;
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void Write(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    std::set<std::string> Entries() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.insert(e.path().filename());
        return names;
    }
    // Writes text as the new content of target and commits it.
    bool Replace(const std::string& target, const std::string& text, const char* modeFrom = nullptr) {
        SysFile f = SysBeginReplacement(target.c_str(), modeFrom);
        return f != SYS_NO_FILE && SysWriteAtEnd(f, text.data(), static_cast<uint32_t>(text.size())) &&
               SysCommitReplacement(f);
    }
    static unsigned Mode(const std::string& path) {
        struct stat st;
        return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
    }
    std::string dir_;
};

TEST_F(SysReplacement, OldFileStaysWholeUntilTheCommit) {
    Write(Path("a.klx"), "old");
    SysFile f = SysBeginReplacement(Path("a.klx").c_str(), nullptr);
    ASSERT_NE(f, SYS_NO_FILE);
    ASSERT_TRUE(SysWriteAtEnd(f, "new", 3));
    EXPECT_EQ(Read(Path("a.klx")), "old");
    const std::set<std::string> during = Entries();
    ASSERT_EQ(during.size(), 2u);
    EXPECT_EQ(during.begin()->rfind(".a.klx.kelmor-", 0), 0u) << *during.begin();
    SysDiscardReplacement(f);
    EXPECT_EQ(Read(Path("a.klx")), "old");
    EXPECT_EQ(Entries(), (std::set<std::string>{"a.klx"}));
    ASSERT_TRUE(Replace(Path("a.klx"), "new"));
    EXPECT_EQ(Read(Path("a.klx")), "new");
    EXPECT_EQ(Entries(), (std::set<std::string>{"a.klx"}));
}

TEST_F(SysReplacement, LinksAreFollowedAndPermissionBitsKept) {
    const mode_t mask = umask(022);
    ASSERT_TRUE(Replace(Path("fresh"), "x"));
    EXPECT_EQ(Mode(Path("fresh")), 0644u);
    umask(mask);
    Write(Path("private"), "old");
    chmod(Path("private").c_str(), 0600);
    ASSERT_TRUE(Replace(Path("private"), "new"));
    EXPECT_EQ(Mode(Path("private")), 0600u);
    chmod(Path("fresh").c_str(), 0751);
    ASSERT_TRUE(Replace(Path("private"), "run", Path("fresh").c_str()));
    EXPECT_EQ(Mode(Path("private")), 0751u) << "the model's bits win";

    // A relative link, a link to a link, and a link to a file not there yet.
    fs::create_directory(Path("sub"));
    Write(Path("sub/real"), "old");
    fs::create_symlink("sub/real", Path("one"));
    fs::create_symlink("one", Path("two"));
    fs::create_symlink("later", Path("sub/dangling"));
    ASSERT_TRUE(Replace(Path("two"), "new"));
    ASSERT_TRUE(Replace(Path("sub/dangling"), "made"));
    EXPECT_TRUE(fs::is_symlink(Path("two")) && fs::is_symlink(Path("one")) && fs::is_symlink(Path("sub/dangling")));
    EXPECT_EQ(Read(Path("sub/real")), "new");
    EXPECT_EQ(Read(Path("sub/later")), "made");
    EXPECT_TRUE(SysIsSameFile(Path("two").c_str(), Path("sub/real").c_str()));
    EXPECT_FALSE(SysIsSameFile(Path("two").c_str(), Path("sub/later").c_str()));
}

}  // namespace
