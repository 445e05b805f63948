// The settings store on a real file: what goes in comes back out, in this process and in
// others, and the file stays a private, valid key file.
#include <gio/gdesktopappinfo.h>
#include <glib.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/system.h"
#include "platform/wintypes.h"

namespace {

namespace fs = std::filesystem;
const char kKey[] = "SOFTWARE\\Kelmor";
const char kRun[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kMissing[] = "<missing>";
const size_t npos = std::string::npos;

std::string Sz(const std::string& text) { return std::string(text.c_str(), text.size() + 1); }
std::string Dword(char low) { return std::string(1, low) + std::string(3, '\0'); }
std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
std::string Upper(std::string s) {
    for (char& c : s) c = g_ascii_toupper(c);
    return s;
}
unsigned Mode(const std::string& path) { return static_cast<unsigned>(fs::status(path).permissions()); }
bool Set(const std::string& key, const std::string& name, uint32_t kind, const std::string& data) {
    return StoreSetValue(key.c_str(), name.c_str(), kind, data.data(), static_cast<uint32_t>(data.size()));
}
// The value's bytes, or kMissing.
std::string Get(const std::string& key, const std::string& name, uint32_t* kind = nullptr) {
    char buf[4096];
    uint32_t size = sizeof buf;
    return StoreQueryValue(key.c_str(), name.c_str(), kind, buf, &size) ? std::string(buf, size) : kMissing;
}
// The error a failed call left, 0 for success.
uint32_t ErrorOf(bool succeeded) { return succeeded ? 0 : SysGetLastError(); }
std::vector<std::string> Children(const std::string& key) {
    std::vector<std::string> out;
    char name[256];
    for (uint32_t i = 0; StoreEnumKey(key.c_str(), i, name, sizeof name); ++i) out.push_back(name);
    return out;
}

class StoreTest : public testing::Test {
protected:
    void SetUp() override {
        // A GLib complaint means the store handed the key file something invalid.
        oldFatal_ = g_log_set_always_fatal(static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING));
        dir_ = fs::temp_directory_path() / "kelmor-store-XXXXXX";
        ASSERT_NE(mkdtemp(&dir_[0]), nullptr);
        Use(dir_ + "/registry.ini");
        setenv("XDG_CONFIG_HOME", (dir_ + "/config").c_str(), 1);
    }
    void TearDown() override {
        g_log_set_always_fatal(oldFatal_);
        fs::remove_all(dir_);
    }
    void Use(const std::string& path) {
        path_ = path;
        setenv("KELMOR_REGISTRY", path_.c_str(), 1);
    }
    // Goes on with a copy of the store, so what is read next is what a fresh process would
    // parse, not what this one has cached.
    void Reopen() {
        std::ofstream(path_ + ".reopened", std::ios::binary) << Contents(path_);
        Use(path_ + ".reopened");
    }
    // Contents of the copies kept of the damaged store at path_.
    std::vector<std::string> KeptAside() {
        std::vector<std::string> kept;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            if (entry.path().string().rfind(path_ + ".corrupt-", 0) == 0) kept.push_back(Contents(entry.path()));
        }
        return kept;
    }

    std::string dir_, path_;
    GLogLevelFlags oldFatal_{};
};

TEST_F(StoreTest, ValuesOfEveryKindAndOddNameComeBackExactlyWhateverTheCase) {
    const std::vector<std::string> names = {"[x]", "a=b", "#c", ";d", " lead", "trail ", "@", "%41", "100%",
                                            "caf\xc3\xa9", "\xff\xfe", "tab\there", "new\nline", "\x7f"};
    const std::vector<std::string> texts = {"line1\nline2\r\n", "%PATH%\\x", "C:\\dir\\", " spaced ", "\x01\x1f\x7f",
                                            "\xff not utf-8", "sz:fake", "hex(1):41", "", std::string(255, 'z')};
    const std::string parent = std::string(kKey) + "\\ShortType";
    struct Row { std::string key, name; uint32_t kind; std::string data; };
    // Later writes in other spellings keep the first spelling of key and value names.
    ASSERT_TRUE(StoreCreateKey(kKey) && Set(kKey, "Speed", REG_DWORD, Dword(1)));
    std::vector<Row> rows = {{"software\\KELMOR", "SPEED", REG_DWORD, Dword(3)},
                             {"software\\kelmor\\Mappings", "Number", REG_DWORD, std::string("\x7b\0\0\x80", 4)},
                             {kKey, "ShortDword", REG_DWORD, std::string("\x01\x02", 2)},
                             {kKey, "Binary", 3, std::string("\0a\0", 3)},
                             {kKey, "back\\slash", REG_SZ, Sz("b")}};
    // Each odd name is a key holding a value of that name and a default value of the other
    // string kind; the odd texts go round both.
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string key = parent + "\\" + names[i];
        rows.push_back({key, names[i], REG_SZ, Sz(texts[i % texts.size()])});
        rows.push_back({key, "", REG_EXPAND_SZ, Sz(texts[(i + 1) % texts.size()])});
    }
    for (const Row& r : rows) {
        ASSERT_TRUE(StoreCreateKey(r.key.c_str()) && Set(r.key, r.name, r.kind, r.data)) << r.name;
    }
    Reopen();
    for (const Row& r : rows) {
        uint32_t kind = 0;
        EXPECT_EQ(Get(Upper(r.key), Upper(r.name), &kind), r.data) << r.name;
        EXPECT_EQ(kind, r.kind) << r.name;
    }
    const std::string text = Contents(path_);
    EXPECT_NE(text.find("[SOFTWARE\\Kelmor\\Mappings]"), npos) << text;
    EXPECT_NE(text.find("Speed=dword:00000003"), npos) << text;
    const std::vector<std::string> listed = Children(parent);
    EXPECT_EQ(std::multiset<std::string>(listed.begin(), listed.end()),
              std::multiset<std::string>(names.begin(), names.end()));
}

TEST_F(StoreTest, ReadsAndListingsStayWithinTheCallersBuffer) {
    char buf[256];
    uint32_t size = sizeof buf;
    ASSERT_TRUE(StoreCreateKey(kKey) && Set(kKey, "Fits", REG_SZ, Sz(std::string(255, 'a'))));
    ASSERT_TRUE(Set(kKey, "TooLong", REG_SZ, Sz(std::string(256, 'a'))));
    ASSERT_TRUE(StoreQueryValue(kKey, "Fits", nullptr, buf, &size));
    EXPECT_EQ(size, 256u);
    memset(buf, 'x', sizeof buf);
    EXPECT_EQ(ErrorOf(StoreQueryValue(kKey, "TooLong", nullptr, buf, &size)), uint32_t{ERANGE});
    EXPECT_EQ(buf[0], 'x') << "nothing is written into a buffer that is too small";
    size = 0;  // without a buffer the size is reported
    ASSERT_TRUE(StoreQueryValue(kKey, "TooLong", nullptr, nullptr, &size));
    EXPECT_EQ(size, 257u);

    const std::string parent = std::string(kKey) + "\\ShortType";
    for (const char* name : {"b", "A", "c", "a1", "_x", "B2", "a!", "a1\\deeper"}) {
        ASSERT_TRUE(StoreCreateKey((parent + "\\" + name).c_str())) << name;
    }
    Reopen();
    const std::vector<std::string> order = {"_x", "A", "a!", "a1", "b", "B2", "c"};
    EXPECT_EQ(Children("software\\kelmor\\SHORTTYPE"), order);
    EXPECT_EQ(Children(""), std::vector<std::string>{"SOFTWARE"});
    char small[2];
    ASSERT_TRUE(StoreEnumKey(parent.c_str(), 1, small, sizeof small));
    EXPECT_STREQ(small, "A");
    EXPECT_EQ(ErrorOf(StoreEnumKey(parent.c_str(), 2, small, sizeof small)), uint32_t{ERANGE}) << "\"a!\"";
    EXPECT_FALSE(StoreEnumKey("SOFTWARE\\Kelmor\\Nothing", 0, small, sizeof small));
    // A name that could not be listed into the usual buffer cannot be created.
    EXPECT_TRUE(StoreCreateKey((std::string(kKey) + "\\" + std::string(255, 'k')).c_str()));
    EXPECT_FALSE(StoreCreateKey((std::string(kKey) + "\\" + std::string(256, 'k')).c_str()));
}

TEST_F(StoreTest, DeletingValuesAndKeys) {
    const std::string three = "SOFTWARE\\Kelmor\\Mappings\\3";
    ASSERT_TRUE(StoreCreateKey(three.c_str()) && Set(three, "Action", REG_DWORD, Dword(1)));
    ASSERT_TRUE(Set(kKey, "Editor", REG_SZ, Sz("vi")));
    EXPECT_EQ(ErrorOf(Set("SOFTWARE\\Kelmor\\Missing", "X", REG_DWORD, Dword(1))), uint32_t{ENOENT});
    EXPECT_FALSE(StoreDeleteValue(kKey, "Nothing"));
    EXPECT_EQ(ErrorOf(StoreDeleteKey("SOFTWARE\\Kelmor\\Mappings")), uint32_t{ENOTEMPTY}) << "it has a subkey";
    for (const char* refused : {"SOFTWARE\\Kelmor\\Mappings\\4", kRun, ""}) {
        EXPECT_FALSE(StoreDeleteKey(refused)) << refused;
    }

    ASSERT_TRUE(StoreDeleteKey("software\\kelmor\\mappings\\3"));
    EXPECT_FALSE(StoreKeyExists(three.c_str()));
    EXPECT_TRUE(StoreKeyExists("SOFTWARE\\Kelmor\\Mappings")) << "an emptied parent stays";
    ASSERT_TRUE(StoreCreateKey(three.c_str()) && StoreDeleteValue(kKey, "EDITOR"));
    Reopen();
    EXPECT_TRUE(StoreKeyExists(three.c_str())) << "an empty key is kept in the file";
    EXPECT_EQ(Get(three, "Action"), kMissing) << "values went with the key";
    EXPECT_EQ(Get(kKey, "Editor"), kMissing);
}

TEST_F(StoreTest, TheRunValueIsTheAutostartEntry) {
    const std::string desktop = dir_ + "/config/autostart/kelmor.desktop";
    uint32_t kind = 0;
    EXPECT_TRUE(StoreKeyExists(kRun));
    EXPECT_EQ(Get(kRun, "Kelmor"), kMissing);
    const std::string path = "/opt/my apps/\"odd\" $HOME `x` back\\slash/kelmor";
    ASSERT_TRUE(Set(kRun, "Kelmor", REG_SZ, Sz(path)));
    EXPECT_EQ(Get(kRun, "kelmor", &kind), Sz(path));
    EXPECT_EQ(kind, uint32_t{REG_SZ});
    EXPECT_EQ(Contents(path_).find("Kelmor="), npos) << "the Run value is not kept in the store";
    // The Exec line must start that very program when a session splits it into words.
    g_autoptr(GKeyFile) file = g_key_file_new();
    ASSERT_TRUE(g_key_file_load_from_file(file, desktop.c_str(), G_KEY_FILE_NONE, nullptr));
    g_autofree gchar* exec = g_key_file_get_string(file, "Desktop Entry", "Exec", nullptr);
    g_auto(GStrv) argv = nullptr;
    ASSERT_TRUE(exec != nullptr && g_shell_parse_argv(exec, nullptr, &argv, nullptr)) << exec;
    EXPECT_EQ(path, argv[0]);

    ASSERT_TRUE(Set(kRun, "Kelmor", REG_EXPAND_SZ, Sz("%HOME%/bin/kelmor")));
    EXPECT_EQ(Get(kRun, "Kelmor", &kind), Sz("%HOME%/bin/kelmor"));
    EXPECT_EQ(kind, uint32_t{REG_EXPAND_SZ});
    ASSERT_TRUE(StoreDeleteValue(kRun, "Kelmor"));
    EXPECT_FALSE(fs::exists(desktop));
    EXPECT_FALSE(StoreDeleteValue(kRun, "Kelmor"));
    // Entries written or switched off by the desktop read as the program or as empty.
    std::ofstream(desktop) << "[Desktop Entry]\nType=Application\nExec=/usr/bin/kelmor --x\n";
    EXPECT_EQ(Get(kRun, "Kelmor"), Sz("/usr/bin/kelmor"));
    std::ofstream(desktop) << "[Desktop Entry]\nExec=/usr/bin/kelmor\nHidden=true\n";
    EXPECT_EQ(Get(kRun, "Kelmor"), Sz(""));

    // A program whose path holds a '%': the entry is one the desktop's launcher takes, and
    // launched, it starts that program.
    setenv("XDG_DATA_HOME", (dir_ + "/data").c_str(), 1);
    const std::string program = dir_ + "/100% sure/kelmor";
    fs::create_directories(dir_ + "/100% sure");
    std::ofstream(program) << "#!/bin/sh\necho started >\"" << dir_ << "/started\"\n";
    fs::permissions(program, fs::perms::owner_all);
    ASSERT_TRUE(Set(kRun, "Kelmor", REG_EXPAND_SZ, Sz(program)));
    EXPECT_EQ(Get(kRun, "Kelmor"), Sz(program)) << "the value names the program itself";
    g_autoptr(GDesktopAppInfo) entry = g_desktop_app_info_new_from_filename(desktop.c_str());
    ASSERT_NE(entry, nullptr) << Contents(desktop);
    ASSERT_TRUE(g_app_info_launch(G_APP_INFO(entry), nullptr, nullptr, nullptr));
    for (int i = 0; i < 100 && !fs::exists(dir_ + "/started"); ++i) usleep(50000);
    EXPECT_TRUE(fs::exists(dir_ + "/started")) << "the entry did not start the program";
    // Nothing of it is left once the value is gone, or names a program without '%'.
    const std::string link = dir_ + "/data/kelmor/autostart/kelmor";
    EXPECT_TRUE(fs::is_symlink(link));
    ASSERT_TRUE(Set(kRun, "Kelmor", REG_SZ, Sz("/usr/bin/kelmor")));
    EXPECT_FALSE(fs::is_symlink(link));
    EXPECT_EQ(Get(kRun, "Kelmor"), Sz("/usr/bin/kelmor"));
    ASSERT_TRUE(Set(kRun, "Kelmor", REG_EXPAND_SZ, Sz(program)));
    ASSERT_TRUE(StoreDeleteValue(kRun, "Kelmor"));
    EXPECT_FALSE(fs::is_symlink(link));
}

TEST_F(StoreTest, TheFileIsPrivateAndItsFolderIsMade) {
    mode_t old = umask(0);
    Use(dir_ + "/new/folder/registry.ini");
    ASSERT_TRUE(StoreCreateKey(kKey));
    EXPECT_EQ(Mode(path_), 0600u);
    EXPECT_EQ(Mode(dir_ + "/new/folder"), 0700u);
    // A store someone made readable to all is private again after the next write.
    ASSERT_EQ(chmod(path_.c_str(), 0644), 0);
    ASSERT_TRUE(Set(kKey, "Log", REG_DWORD, Dword(1)));
    EXPECT_EQ(Mode(path_), 0600u);
    umask(old);
}

TEST_F(StoreTest, ADamagedFileKeepsWhatCanBeReadAndIsKeptAsideOnce) {
    const std::string garbage("no group here\n\0\xff[[", 19);
    std::ofstream(path_, std::ios::binary) << garbage;
    EXPECT_EQ(Children("SOFTWARE"), std::vector<std::string>{"Microsoft"}) << "only the system's own keys";
    ASSERT_TRUE(StoreCreateKey(kKey) && Set(kKey, "Log", REG_DWORD, Dword(2)));
    EXPECT_EQ(KeptAside(), std::vector<std::string>{garbage}) << "kept once, not at every write";
    Reopen();
    EXPECT_EQ(Get(kKey, "Log"), Dword(2));

    const std::string partly = "[SOFTWARE\\Kelmor]\nLog=dword:00000003\nBad=dword:xyz\nOdd=what\n[SOFTWARE\\%ZZ]\n"
        "[SOFTWARE\\%00Cut]\n";
    Use(dir_ + "/partly.ini");
    std::ofstream(path_) << partly;
    EXPECT_EQ(Get(kKey, "Bad"), kMissing);
    EXPECT_EQ(Children("SOFTWARE"), (std::vector<std::string>{"Kelmor", "Microsoft"})) << "no name cut at a NUL";
    ASSERT_TRUE(Set(kKey, "Speed", REG_DWORD, Dword(2)));
    EXPECT_EQ(KeptAside(), std::vector<std::string>{partly});
    Reopen();
    EXPECT_EQ(Get(kKey, "Log"), Dword(3));
}

TEST_F(StoreTest, WritesClearAwayTemporariesOfKilledWritersAndNothingElse) {
    ASSERT_TRUE(StoreCreateKey(kKey));
    const std::vector<std::string> stale = {".tmp-a1B2c3", ".tmp-ZZZZZZ"};
    // Near misses of the pattern, a folder, and a temporary that a live writer holds.
    const std::vector<std::string> kept = {".tmp-a1B2c", ".tmp-a1B2c3d", ".tmp-a1B2.3", ".backup", ".tmp_a1B2c3"};
    for (const std::string& suffix : stale) std::ofstream(path_ + suffix) << "half a store";
    for (const std::string& suffix : kept) std::ofstream(path_ + suffix) << "someone's file";
    ASSERT_EQ(mkdir((path_ + ".tmp-Folder").c_str(), 0700), 0);
    std::ofstream(path_ + ".tmp-LiVe00") << "being written";
    int live = open((path_ + ".tmp-LiVe00").c_str(), O_RDONLY);
    ASSERT_EQ(flock(live, LOCK_EX), 0);

    ASSERT_TRUE(Set(kKey, "Log", REG_DWORD, Dword(1)));
    for (const std::string& suffix : stale) EXPECT_FALSE(fs::exists(path_ + suffix)) << suffix;
    for (const std::string& suffix : kept) EXPECT_TRUE(fs::exists(path_ + suffix)) << suffix;
    EXPECT_TRUE(fs::is_directory(path_ + ".tmp-Folder"));
    EXPECT_TRUE(fs::exists(path_ + ".tmp-LiVe00"));
    close(live);

    // What a writer killed before its rename leaves is gone after the next write.
    pid_t writer = fork();
    if (writer == 0) {
        for (int i = 0;; ++i) Set(kKey, "Big", REG_SZ, Sz(std::string(200000, static_cast<char>('a' + i % 26))));
    }
    ASSERT_GT(writer, 0);
    usleep(50000);
    kill(writer, SIGKILL);
    waitpid(writer, nullptr, 0);
    ASSERT_TRUE(Set(kKey, "Log", REG_DWORD, Dword(2)));
    size_t temporaries = 0;
    for (const auto& entry : fs::directory_iterator(dir_)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("registry.ini.tmp-", 0) == 0 && name.size() == strlen("registry.ini.tmp-") + 6) ++temporaries;
    }
    EXPECT_EQ(temporaries, 2u) << "only the live one and the folder";
}

// Runs body in a child process that exits with 0 when it returns true.
pid_t Spawn(const std::function<bool()>& body) {
    pid_t pid = fork();
    if (pid == 0) _exit(body() ? 0 : 1);
    return pid;
}
bool Succeeded(pid_t pid) {
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(StoreTest, WritesOfOtherProcessesAreNeitherLostNorMissed) {
    ASSERT_TRUE(StoreCreateKey(kKey));
    EXPECT_EQ(Get(kKey, "c0v0"), kMissing);  // this process has read the store
    auto name = [](int c, int v) { return "c" + std::to_string(c) + "v" + std::to_string(v); };
    std::vector<pid_t> writers;
    for (int c = 0; c < 4; ++c) {
        writers.push_back(Spawn([&, c] {
            bool ok = true;
            for (int v = 0; v < 40 && ok; ++v) ok = Set(kKey, name(c, v), REG_SZ, Sz(name(c, v)));
            return ok;
        }));
    }
    for (pid_t pid : writers) EXPECT_TRUE(Succeeded(pid));
    for (int c = 0; c < 4; ++c) {
        for (int v = 0; v < 40; ++v) EXPECT_EQ(Get(kKey, name(c, v)), Sz(name(c, v)));
    }
    // Values of one size, each replacing the last within microseconds: only a fresh look
    // at the file tells them apart.
    for (int i = 1000; i < 1200; i += 2) {
        ASSERT_TRUE(Set(kKey, "Turn", REG_SZ, Sz(std::to_string(i))));
        ASSERT_TRUE(Succeeded(Spawn([i] { return Set(kKey, "Turn", REG_SZ, Sz(std::to_string(i + 1))); })));
        ASSERT_EQ(Get(kKey, "Turn"), Sz(std::to_string(i + 1)));
    }
}

TEST_F(StoreTest, ASetOfChangesIsWrittenOnceOrNotAtAll) {
    ASSERT_TRUE(StoreCreateKey(kKey) && Set(kKey, "Speed", REG_DWORD, Dword(2)));
    const std::string mapping = std::string(kKey) + "\\Mappings\\65";
    const std::string before = Contents(path_);
    ASSERT_TRUE(StoreBeginChanges());
    EXPECT_FALSE(StoreBeginChanges()) << "one set at a time";
    ASSERT_TRUE(StoreCreateKey(mapping.c_str()) && Set(mapping, "Action", REG_DWORD, Dword(5)));
    ASSERT_TRUE(Set(kKey, "Speed", REG_DWORD, Dword(3)) && Set(kKey, "Editor", REG_SZ, Sz("vi")));
    EXPECT_EQ(Get(kKey, "Speed"), Dword(3)) << "this process reads its own changes";
    EXPECT_EQ(Contents(path_), before) << "nothing reaches the file before the end";
    ASSERT_TRUE(StoreEndChanges(true));
    Reopen();
    EXPECT_EQ(Get(kKey, "Speed"), Dword(3));
    EXPECT_EQ(Get(mapping, "Action"), Dword(5));
    EXPECT_EQ(Get(kKey, "Editor"), Sz("vi"));

    // Dropped, or failing to be written: the store stays as it was.
    const std::string after = Contents(path_);
    ASSERT_TRUE(StoreBeginChanges());
    ASSERT_TRUE(Set(kKey, "Speed", REG_DWORD, Dword(4)) && StoreDeleteValue(kKey, "Editor"));
    ASSERT_TRUE(StoreEndChanges(false));
    EXPECT_EQ(Contents(path_), after);
    EXPECT_EQ(Get(kKey, "Speed"), Dword(3));
    EXPECT_EQ(Get(kKey, "Editor"), Sz("vi"));
    // A disk that takes only a little more than the store holds now.
    EXPECT_TRUE(Succeeded(Spawn([&] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit little = {after.size() + 64, after.size() + 64};
        if (setrlimit(RLIMIT_FSIZE, &little) != 0 || !StoreBeginChanges()) return false;
        bool ok = true;
        for (int i = 0; i < 20 && ok; ++i) ok = Set(kKey, "V" + std::to_string(i), REG_SZ, Sz(std::string(20, 'v')));
        return ok && !StoreEndChanges(true) && SysGetLastError() == EFBIG;
    })));
    EXPECT_EQ(Contents(path_), after);
}

TEST_F(StoreTest, ARestoreKeepsWindowsOutAndIsKeptOutByOne) {
    bool windowOpen = true;
    ASSERT_TRUE(StoreKeepWindowsOut(&windowOpen));
    EXPECT_FALSE(windowOpen);
    // A window starting meanwhile waits until the restore is done. (The child lets go of
    // what it inherited, as a program started anew would not have it.)
    const pid_t window = Spawn([] {
        StoreLetWindowsIn();
        return StoreHoldForWindow();
    });
    usleep(200000);
    EXPECT_EQ(waitpid(window, nullptr, WNOHANG), 0) << "the window did not wait";
    StoreLetWindowsIn();
    EXPECT_TRUE(Succeeded(window));

    // A window running, in this process or another: no restore, whatever display it is on.
    ASSERT_TRUE(StoreHoldForWindow());
    EXPECT_FALSE(StoreKeepWindowsOut(&windowOpen));
    EXPECT_TRUE(windowOpen);
    EXPECT_TRUE(Succeeded(Spawn([] {
        bool open = false;
        return !StoreKeepWindowsOut(&open) && open;
    })));
    StoreReleaseWindowHold();
    EXPECT_TRUE(StoreKeepWindowsOut(&windowOpen));
    StoreLetWindowsIn();
}

TEST_F(StoreTest, TheStoresOwnFilesAreKnownByAnyName) {
    EXPECT_TRUE(StoreUsesFile(path_.c_str())) << "before it exists";
    ASSERT_TRUE(StoreCreateKey(kKey));
    ASSERT_EQ(symlink(path_.c_str(), (dir_ + "/alias.reg").c_str()), 0);
    for (const std::string& name : {path_, dir_ + "/./registry.ini", dir_ + "/alias.reg", path_ + ".lock"}) {
        EXPECT_TRUE(StoreUsesFile(name.c_str())) << name;
    }
    std::ofstream(dir_ + "/backup.reg") << "REGEDIT4\n";
    for (const std::string& name : {dir_ + "/backup.reg", dir_ + "/new.reg", std::string("registry.ini")}) {
        EXPECT_FALSE(StoreUsesFile(name.c_str())) << name;
    }
}

}  // namespace
