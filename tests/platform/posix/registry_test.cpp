// The settings store on a real file: what goes in comes back out, in this process and in
// others, and the file stays a private, valid key file.
#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/system.h"
#include "platform/wintypes.h"

namespace {

const char kKey[] = "SOFTWARE\\Kelmor";
const char kRun[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

class StoreTest : public testing::Test {
protected:
    void SetUp() override {
        // A GLib complaint means the store handed the key file something invalid.
        oldFatal_ = g_log_set_always_fatal(static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING));
        gchar* dir = g_dir_make_tmp("kelmor-store-XXXXXX", nullptr);
        dir_ = dir;
        g_free(dir);
        Use(dir_ + "/registry.ini");
        setenv("XDG_CONFIG_HOME", (dir_ + "/config").c_str(), 1);
    }
    void TearDown() override {
        std::string cleanup = "rm -rf '" + dir_ + "'";
        g_log_set_always_fatal(oldFatal_);
        ASSERT_EQ(system(cleanup.c_str()), 0);
    }

    void Use(const std::string& path) {
        path_ = path;
        setenv("KELMOR_REGISTRY", path_.c_str(), 1);
    }
    // Copies the store to a new name and reads from there: what this process sees
    // afterwards is what a fresh process would parse, not what it has cached.
    void Reopen() {
        gchar* text = nullptr;
        gsize length = 0;
        ASSERT_TRUE(g_file_get_contents(path_.c_str(), &text, &length, nullptr));
        std::string copy = path_ + ".reopened";
        ASSERT_TRUE(g_file_set_contents(copy.c_str(), text, static_cast<gssize>(length), nullptr));
        g_free(text);
        Use(copy);
    }
    std::string Contents(const std::string& path) {
        gchar* text = nullptr;
        gsize length = 0;
        if (!g_file_get_contents(path.c_str(), &text, &length, nullptr)) return "<unreadable>";
        std::string out(text, length);
        g_free(text);
        return out;
    }
    // Contents of the copies of damaged files.
    std::vector<std::string> KeptAside() {
        std::vector<std::string> kept;
        GDir* dir = g_dir_open(dir_.c_str(), 0, nullptr);
        for (const char* name; (name = g_dir_read_name(dir)) != nullptr;) {
            if (strncmp(name, "registry.ini.corrupt-", 21) == 0) kept.push_back(Contents(dir_ + "/" + name));
        }
        g_dir_close(dir);
        return kept;
    }
    static bool Set(const char* key, const char* name, uint32_t kind, const std::string& data) {
        return StoreSetValue(key, name, kind, data.data(), static_cast<uint32_t>(data.size()));
    }
    static bool Get(const char* key, const char* name, uint32_t* kind, std::string* data) {
        char buf[4096];
        uint32_t size = sizeof buf;
        if (!StoreQueryValue(key, name, kind, buf, &size)) return false;
        data->assign(buf, size);
        return true;
    }
    static std::vector<std::string> Children(const char* key) {
        std::vector<std::string> out;
        char name[256];
        for (uint32_t i = 0; StoreEnumKey(key, i, name, sizeof name); ++i) out.push_back(name);
        return out;
    }

    std::string dir_;
    std::string path_;
    GLogLevelFlags oldFatal_{};
};

std::string Sz(const std::string& text) { return std::string(text.c_str(), text.size() + 1); }

TEST_F(StoreTest, KindsAreKeptApartAndSurviveARereading) {
    const struct {
        const char* name;
        uint32_t kind;
        std::string data;
    } values[] = {{"Number", REG_DWORD, std::string("\x7b\0\0\x80", 4)},
                  {"Text", REG_SZ, Sz("123")},
                  {"Expand", REG_EXPAND_SZ, Sz("123")},
                  {"ShortDword", REG_DWORD, std::string("\x01\x02", 2)},
                  {"Binary", 3, std::string("\0a\0", 3)}};
    ASSERT_TRUE(StoreCreateKey(kKey));
    for (const auto& v : values) ASSERT_TRUE(Set(kKey, v.name, v.kind, v.data)) << v.name;
    Reopen();
    for (const auto& v : values) {
        uint32_t kind = 0;
        std::string data;
        ASSERT_TRUE(Get(kKey, v.name, &kind, &data)) << v.name;
        EXPECT_EQ(kind, v.kind) << v.name;
        EXPECT_EQ(data, v.data) << v.name;
    }
}

TEST_F(StoreTest, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
    ASSERT_TRUE(StoreCreateKey(kKey));
    ASSERT_TRUE(Set(kKey, "Speed", REG_DWORD, std::string("\1\0\0\0", 4)));
    ASSERT_TRUE(Set("software\\KELMOR", "SPEED", REG_DWORD, std::string("\3\0\0\0", 4)));
    ASSERT_TRUE(StoreCreateKey("software\\kelmor\\Mappings"));
    EXPECT_TRUE(StoreKeyExists("SOFTWARE\\KELMOR\\MAPPINGS"));
    Reopen();
    uint32_t kind = 0;
    std::string data;
    ASSERT_TRUE(Get("Software\\Kelmor", "speed", &kind, &data));
    EXPECT_EQ(data, std::string("\3\0\0\0", 4));
    std::string text = Contents(path_);
    EXPECT_NE(text.find("[SOFTWARE\\Kelmor\\Mappings]"), std::string::npos) << text;
    EXPECT_NE(text.find("Speed=dword:00000003"), std::string::npos) << text;
    EXPECT_EQ(text.find("SPEED"), std::string::npos) << text;
    EXPECT_EQ(Children("software\\kelmor"), std::vector<std::string>{"Mappings"});
}

TEST_F(StoreTest, OddNamesAndValuesComeBackExactly) {
    const std::vector<std::string> names = {"[x]", "a=b", "#c", ";d", " lead", "trail ", "@", "%41", "100%",
                                            "caf\xc3\xa9", "\xff\xfe", "tab\there", "new\nline", "\x7f"};
    const std::vector<std::string> values = {
        "line1\nline2\r\n", "%PATH%\\x", "C:\\dir\\", " spaced ", "\x01\x1f\x7f", "\xff not utf-8",
        "sz:fake", "hex(1):41", "", std::string(255, 'z'), "\\s\\n\\t"};
    ASSERT_TRUE(StoreCreateKey(kKey));
    std::vector<std::string> keys;
    for (const std::string& n : names) {
        std::string key = std::string(kKey) + "\\ShortType\\" + n;
        ASSERT_TRUE(StoreCreateKey(key.c_str())) << n;
        ASSERT_TRUE(Set(key.c_str(), n.c_str(), REG_SZ, Sz(values[keys.size() % values.size()]))) << n;
        keys.push_back(key);
    }
    for (size_t i = 0; i < values.size(); ++i) {
        ASSERT_TRUE(Set(kKey, ("v" + std::to_string(i)).c_str(), REG_EXPAND_SZ, Sz(values[i])));
    }
    ASSERT_TRUE(Set(kKey, "", REG_SZ, Sz("default")));
    ASSERT_TRUE(Set(kKey, "back\\slash", REG_SZ, Sz("b")));

    GKeyFile* file = g_key_file_new();
    EXPECT_TRUE(g_key_file_load_from_file(file, path_.c_str(), G_KEY_FILE_NONE, nullptr)) << Contents(path_);
    g_key_file_free(file);

    Reopen();
    uint32_t kind = 0;
    std::string data;
    for (size_t i = 0; i < names.size(); ++i) {
        ASSERT_TRUE(Get(keys[i].c_str(), names[i].c_str(), &kind, &data)) << names[i];
        EXPECT_EQ(kind, static_cast<uint32_t>(REG_SZ));
        EXPECT_EQ(data, Sz(values[i % values.size()])) << names[i];
    }
    for (size_t i = 0; i < values.size(); ++i) {
        ASSERT_TRUE(Get(kKey, ("v" + std::to_string(i)).c_str(), &kind, &data));
        EXPECT_EQ(kind, static_cast<uint32_t>(REG_EXPAND_SZ));
        EXPECT_EQ(data, Sz(values[i])) << i;
    }
    ASSERT_TRUE(Get(kKey, "", &kind, &data));
    EXPECT_EQ(data, Sz("default"));
    ASSERT_TRUE(Get(kKey, "BACK\\SLASH", &kind, &data));
    std::vector<std::string> sorted = Children("SOFTWARE\\Kelmor\\ShortType");
    EXPECT_EQ(sorted.size(), names.size());
    for (const std::string& n : names) {
        EXPECT_NE(std::find(sorted.begin(), sorted.end(), n), sorted.end()) << n;
    }
}

TEST_F(StoreTest, ReadsAreLimitedByTheCallersBuffer) {
    ASSERT_TRUE(StoreCreateKey(kKey));
    ASSERT_TRUE(Set(kKey, "Fits", REG_SZ, Sz(std::string(255, 'a'))));
    ASSERT_TRUE(Set(kKey, "TooLong", REG_SZ, Sz(std::string(256, 'a'))));
    char buf[256];
    uint32_t size = sizeof buf;
    uint32_t kind = 0;
    ASSERT_TRUE(StoreQueryValue(kKey, "Fits", &kind, buf, &size));
    EXPECT_EQ(size, 256u);
    EXPECT_EQ(kind, static_cast<uint32_t>(REG_SZ));
    size = sizeof buf;
    memset(buf, 'x', sizeof buf);
    EXPECT_FALSE(StoreQueryValue(kKey, "TooLong", &kind, buf, &size));
    EXPECT_EQ(SysGetLastError(), static_cast<uint32_t>(ERANGE));
    EXPECT_EQ(buf[0], 'x') << "nothing is written into a buffer that is too small";
    // Without a buffer the size is reported.
    size = 0;
    ASSERT_TRUE(StoreQueryValue(kKey, "TooLong", &kind, nullptr, &size));
    EXPECT_EQ(size, 257u);
}

TEST_F(StoreTest, DeletingValuesAndKeys) {
    ASSERT_TRUE(StoreCreateKey("SOFTWARE\\Kelmor\\Mappings\\3"));
    ASSERT_TRUE(Set("SOFTWARE\\Kelmor\\Mappings\\3", "Action", REG_DWORD, std::string("\1\0\0\0", 4)));
    EXPECT_FALSE(Set("SOFTWARE\\Kelmor\\Missing", "X", REG_DWORD, std::string("\1\0\0\0", 4)));
    EXPECT_EQ(SysGetLastError(), static_cast<uint32_t>(ENOENT));

    EXPECT_FALSE(StoreDeleteValue(kKey, "Nothing"));
    EXPECT_FALSE(StoreDeleteKey("SOFTWARE\\Kelmor\\Mappings")) << "it has a subkey";
    EXPECT_EQ(SysGetLastError(), static_cast<uint32_t>(ENOTEMPTY));
    EXPECT_FALSE(StoreDeleteKey("SOFTWARE\\Kelmor\\Mappings\\4"));
    EXPECT_FALSE(StoreDeleteKey(kRun));
    EXPECT_FALSE(StoreDeleteKey(""));

    ASSERT_TRUE(StoreDeleteKey("software\\kelmor\\mappings\\3"));
    EXPECT_FALSE(StoreKeyExists("SOFTWARE\\Kelmor\\Mappings\\3"));
    EXPECT_TRUE(StoreKeyExists("SOFTWARE\\Kelmor\\Mappings")) << "an emptied parent stays";
    ASSERT_TRUE(StoreCreateKey("SOFTWARE\\Kelmor\\Mappings\\3"));
    uint32_t kind = 0;
    std::string data;
    EXPECT_FALSE(Get("SOFTWARE\\Kelmor\\Mappings\\3", "Action", &kind, &data)) << "values went with the key";

    ASSERT_TRUE(Set(kKey, "Editor", REG_SZ, Sz("vi")));
    ASSERT_TRUE(StoreDeleteValue(kKey, "EDITOR"));
    EXPECT_FALSE(Get(kKey, "Editor", &kind, &data));
    Reopen();
    EXPECT_TRUE(StoreKeyExists("SOFTWARE\\Kelmor\\Mappings\\3")) << "an empty key is kept in the file";
    EXPECT_FALSE(Get(kKey, "Editor", &kind, &data));
}

TEST_F(StoreTest, SubkeysAreListedInCaseInsensitiveOrder) {
    for (const char* name : {"b", "A", "c", "a1", "_x", "B2", "a!"}) {
        ASSERT_TRUE(StoreCreateKey((std::string(kKey) + "\\ShortType\\" + name).c_str()));
    }
    ASSERT_TRUE(StoreCreateKey("SOFTWARE\\Kelmor\\ShortType\\a1\\deeper"));
    const std::vector<std::string> expected = {"_x", "A", "a!", "a1", "b", "B2", "c"};
    EXPECT_EQ(Children("SOFTWARE\\Kelmor\\ShortType"), expected);
    Reopen();
    EXPECT_EQ(Children("SOFTWARE\\Kelmor\\ShortType"), expected);
    EXPECT_EQ(Children(""), std::vector<std::string>{"SOFTWARE"});

    char small[2];
    ASSERT_TRUE(StoreEnumKey("SOFTWARE\\Kelmor\\ShortType", 1, small, sizeof small));
    EXPECT_STREQ(small, "A");
    EXPECT_FALSE(StoreEnumKey("SOFTWARE\\Kelmor\\ShortType", 2, small, sizeof small)) << "\"a!\" needs three bytes";
    EXPECT_EQ(SysGetLastError(), static_cast<uint32_t>(ERANGE));
    EXPECT_FALSE(StoreEnumKey("SOFTWARE\\Kelmor\\Nothing", 0, small, sizeof small));
    // A name that could not be listed into the usual buffer cannot be created.
    EXPECT_TRUE(StoreCreateKey((std::string(kKey) + "\\" + std::string(255, 'k')).c_str()));
    EXPECT_FALSE(StoreCreateKey((std::string(kKey) + "\\" + std::string(256, 'k')).c_str()));
}

TEST_F(StoreTest, TheRunValueIsTheAutostartEntry) {
    const std::string desktop = dir_ + "/config/autostart/kelmor.desktop";
    uint32_t kind = 0;
    std::string data;
    EXPECT_TRUE(StoreKeyExists(kRun));
    EXPECT_FALSE(Get(kRun, "Kelmor", &kind, &data));

    const std::string path = "/opt/my apps/\"odd\" $HOME `x` back\\slash/kelmor";
    ASSERT_TRUE(Set(kRun, "Kelmor", REG_SZ, Sz(path)));
    ASSERT_TRUE(Get(kRun, "kelmor", &kind, &data));
    EXPECT_EQ(data, Sz(path));
    EXPECT_EQ(kind, static_cast<uint32_t>(REG_SZ));

    GKeyFile* file = g_key_file_new();
    ASSERT_TRUE(g_key_file_load_from_file(file, desktop.c_str(), G_KEY_FILE_NONE, nullptr));
    gchar* type = g_key_file_get_string(file, "Desktop Entry", "Type", nullptr);
    gchar* exec = g_key_file_get_string(file, "Desktop Entry", "Exec", nullptr);
    ASSERT_NE(exec, nullptr);
    EXPECT_STREQ(type, "Application");
    // The Exec line must start that very program when a session splits it into words.
    gchar** argv = nullptr;
    ASSERT_TRUE(g_shell_parse_argv(exec, nullptr, &argv, nullptr)) << exec;
    EXPECT_EQ(path, argv[0]);
    g_strfreev(argv);
    g_free(type);
    g_free(exec);
    g_key_file_free(file);
    EXPECT_EQ(Contents(path_).find("Kelmor="), std::string::npos) << "the Run value is not kept in the store";

    ASSERT_TRUE(Set(kRun, "Kelmor", REG_EXPAND_SZ, Sz("%HOME%/bin/kelmor")));
    ASSERT_TRUE(Get(kRun, "Kelmor", &kind, &data));
    EXPECT_EQ(data, Sz("%HOME%/bin/kelmor"));
    EXPECT_EQ(kind, static_cast<uint32_t>(REG_EXPAND_SZ));

    ASSERT_TRUE(StoreDeleteValue(kRun, "Kelmor"));
    EXPECT_FALSE(g_file_test(desktop.c_str(), G_FILE_TEST_EXISTS));
    EXPECT_FALSE(StoreDeleteValue(kRun, "Kelmor"));

    // Entries written or switched off by the desktop read as the program or as empty.
    ASSERT_TRUE(g_file_set_contents(desktop.c_str(), "[Desktop Entry]\nType=Application\nExec=/usr/bin/kelmor --x\n", -1, nullptr));
    ASSERT_TRUE(Get(kRun, "Kelmor", &kind, &data));
    EXPECT_EQ(data, Sz("/usr/bin/kelmor"));
    ASSERT_TRUE(g_file_set_contents(desktop.c_str(), "[Desktop Entry]\nExec=/usr/bin/kelmor\nHidden=true\n", -1, nullptr));
    ASSERT_TRUE(Get(kRun, "Kelmor", &kind, &data));
    EXPECT_EQ(data, Sz(""));
}

TEST_F(StoreTest, TheFileIsPrivateAndItsFolderIsMade) {
    mode_t old = umask(0);
    Use(dir_ + "/new/folder/registry.ini");
    ASSERT_TRUE(StoreCreateKey(kKey));
    struct stat st;
    ASSERT_EQ(stat(path_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(stat((dir_ + "/new/folder").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    // A store someone made readable to all is private again after the next write.
    ASSERT_EQ(chmod(path_.c_str(), 0644), 0);
    ASSERT_TRUE(Set(kKey, "Log", REG_DWORD, std::string("\1\0\0\0", 4)));
    ASSERT_EQ(stat(path_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    umask(old);
}

TEST_F(StoreTest, ADamagedFileReadsEmptyAndIsKeptAsideBeforeItIsReplaced) {
    const std::string garbage("no group here\n\0\xff[[", 19);
    ASSERT_TRUE(g_file_set_contents(path_.c_str(), garbage.data(), static_cast<gssize>(garbage.size()), nullptr));
    EXPECT_FALSE(StoreKeyExists(kKey));
    EXPECT_EQ(Children("SOFTWARE"), std::vector<std::string>{"Microsoft"}) << "only the system's own keys";
    ASSERT_TRUE(StoreCreateKey(kKey));
    ASSERT_TRUE(Set(kKey, "Log", REG_DWORD, std::string("\2\0\0\0", 4)));

    EXPECT_EQ(KeptAside(), std::vector<std::string>{garbage}) << "kept once, not at every write";
    Reopen();
    EXPECT_TRUE(StoreKeyExists(kKey));
}

TEST_F(StoreTest, APartlyDamagedFileKeepsWhatCanBeRead) {
    const char text[] = "[SOFTWARE\\Kelmor]\nLog=dword:00000003\nBad=dword:xyz\nOdd=what\n[SOFTWARE\\%ZZ]\n";
    ASSERT_TRUE(g_file_set_contents(path_.c_str(), text, -1, nullptr));
    uint32_t kind = 0;
    std::string data;
    ASSERT_TRUE(Get(kKey, "Log", &kind, &data));
    EXPECT_EQ(data, std::string("\3\0\0\0", 4));
    EXPECT_FALSE(Get(kKey, "Bad", &kind, &data));
    ASSERT_TRUE(Set(kKey, "Speed", REG_DWORD, std::string("\2\0\0\0", 4)));
    EXPECT_EQ(KeptAside(), std::vector<std::string>{text});
    Reopen();
    EXPECT_TRUE(Get(kKey, "Log", &kind, &data));
}

// Runs body in a child process; true when it exits with 0.
template <typename Body>
pid_t Spawn(Body body) {
    pid_t pid = fork();
    if (pid == 0) _exit(body() ? 0 : 1);
    return pid;
}

bool Succeeded(pid_t pid) {
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(StoreTest, ConcurrentWritersLoseNoUpdate) {
    ASSERT_TRUE(StoreCreateKey(kKey));
    uint32_t kind = 0;
    std::string data;
    EXPECT_FALSE(Get(kKey, "c0v0", &kind, &data));  // this process has read the store
    const int kChildren = 4, kValues = 40;
    std::vector<pid_t> children;
    for (int c = 0; c < kChildren; ++c) {
        children.push_back(Spawn([c] {
            for (int v = 0; v < kValues; ++v) {
                std::string name = "c" + std::to_string(c) + "v" + std::to_string(v);
                if (!Set(kKey, name.c_str(), REG_SZ, Sz(name))) return false;
            }
            return true;
        }));
    }
    for (pid_t pid : children) EXPECT_TRUE(Succeeded(pid));
    for (int c = 0; c < kChildren; ++c) {
        for (int v = 0; v < kValues; ++v) {
            std::string name = "c" + std::to_string(c) + "v" + std::to_string(v);
            ASSERT_TRUE(Get(kKey, name.c_str(), &kind, &data)) << name;
            EXPECT_EQ(data, Sz(name));
        }
    }
}

TEST_F(StoreTest, AWriteIsSeenByTheNextReadOfAnotherProcess) {
    ASSERT_TRUE(StoreCreateKey(kKey));
    // Parent and child take turns; every value has the same size and follows the last
    // within microseconds, so only a fresh look at the file tells them apart.
    int toChild[2], toParent[2];
    ASSERT_EQ(pipe(toChild), 0);
    ASSERT_EQ(pipe(toParent), 0);
    const int kRounds = 200;
    auto turn = [](int in, int out, int first, bool starts) {
        char token = 0;
        for (int i = first; i < kRounds; i += 2) {
            if (!starts || i != first) {
                if (read(in, &token, 1) != 1) return false;
                uint32_t kind = 0;
                std::string data;
                if (!Get(kKey, "Turn", &kind, &data) || data != Sz(std::to_string(1000 + i - 1))) return false;
            }
            if (!Set(kKey, "Turn", REG_SZ, Sz(std::to_string(1000 + i)))) return false;
            if (i + 1 < kRounds && write(out, &token, 1) != 1) return false;
        }
        return true;
    };
    // Each side closes the other's ends, so a side that gives up ends the other's wait.
    pid_t child = Spawn([&] {
        close(toChild[1]);
        close(toParent[0]);
        return turn(toChild[0], toParent[1], 1, false);
    });
    close(toChild[0]);
    close(toParent[1]);
    EXPECT_TRUE(turn(toParent[0], toChild[1], 0, true));
    close(toChild[1]);
    close(toParent[0]);
    EXPECT_TRUE(Succeeded(child));
}

}  // namespace
