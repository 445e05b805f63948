// Any bytes as the settings store's file: reading, listing and one write through the
// store's calls must neither crash nor lose a key, and the text the store writes must
// read back as the very same store.
#include <glib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "platform/posix/registry_internal.h"
#include "platform/registry.h"
#include "platform/wintypes.h"

namespace {

std::string gDir;

void Check(bool ok, const char* what) {
    if (!ok) {
        fprintf(stderr, "store_reader: %s\n", what);
        abort();
    }
}

void RemoveDir(const std::string& path) {
    GDir* dir = g_dir_open(path.c_str(), 0, nullptr);
    if (dir == nullptr) return;
    for (const char* name; (name = g_dir_read_name(dir)) != nullptr;) {
        std::string entry = path + "/" + name;
        if (g_file_test(entry.c_str(), G_FILE_TEST_IS_DIR)) {
            RemoveDir(entry);
        } else {
            unlink(entry.c_str());
        }
    }
    g_dir_close(dir);
    rmdir(path.c_str());
}

void SetUp() {
    // tmpfs when there is one: the store syncs every write to disk.
    gchar* dir = g_mkdtemp(g_strdup(g_file_test("/dev/shm", G_FILE_TEST_IS_DIR) ? "/dev/shm/kelmor-fuzz-XXXXXX"
                                                                                   : "/tmp/kelmor-fuzz-XXXXXX"));
    gDir = dir;
    g_free(dir);
    setenv("XDG_CONFIG_HOME", (gDir + "/config").c_str(), 1);
    atexit([] { RemoveDir(gDir); });
}

void UseStore(const std::string& path) { setenv("KELMOR_REGISTRY", path.c_str(), 1); }

void Place(const std::string& path, const void* data, size_t size) {
    // A new file each time, as another process's write would arrive.
    std::string temp = path + ".new";
    Check(g_file_set_contents(temp.c_str(), static_cast<const char*>(data), static_cast<gssize>(size), nullptr),
          "cannot write the input");
    Check(rename(temp.c_str(), path.c_str()) == 0, "cannot place the input");
}

bool SameModel(const kstore::Model& a, const kstore::Model& b) {
    if (a.keys.size() != b.keys.size()) return false;
    for (auto i = a.keys.begin(), j = b.keys.begin(); i != a.keys.end(); ++i, ++j) {
        const kstore::Key& x = i->second;
        const kstore::Key& y = j->second;
        if (i->first != j->first || x.path != y.path || x.builtIn != y.builtIn || x.values.size() != y.values.size()) {
            return false;
        }
        for (size_t k = 0; k < x.values.size(); ++k) {
            if (x.values[k].name != y.values[k].name || x.values[k].kind != y.values[k].kind ||
                x.values[k].data != y.values[k].data) {
                return false;
            }
        }
    }
    return true;
}

// Every key reachable by listing, with a few reads on each.
void Walk(const std::string& path, int depth, std::set<std::string>* seen) {
    if (depth > 8 || seen->size() > 400) return;
    char name[256];
    for (uint32_t i = 0; StoreEnumKey(path.c_str(), i, name, sizeof name); ++i) {
        Check(name[0] != '\0' && strchr(name, '\\') == nullptr, "a listed name is not a key name");
        std::string child = path.empty() ? name : path + "\\" + name;
        Check(StoreKeyExists(child.c_str()), "a listed key does not exist");
        Check(seen->insert(kstore::Fold(child)).second, "a key is listed twice");
        for (const char* value : {"", "Speed", "Logfile", "a", "A"}) {
            char buf[256];
            uint32_t size = sizeof buf;
            uint32_t kind = 0;
            if (StoreQueryValue(child.c_str(), value, &kind, buf, &size)) Check(size <= sizeof buf, "size overrun");
            size = 4;
            if (StoreQueryValue(child.c_str(), value, &kind, buf, &size)) Check(size <= 4, "size overrun");
        }
        Walk(child, depth + 1, seen);
    }
}

void RemoveKeptFiles() {
    GDir* dir = g_dir_open(gDir.c_str(), 0, nullptr);
    if (dir == nullptr) return;
    for (const char* name; (name = g_dir_read_name(dir)) != nullptr;) {
        if (strstr(name, ".corrupt-") != nullptr) unlink((gDir + "/" + name).c_str());
    }
    g_dir_close(dir);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (gDir.empty()) SetUp();

    // The text form: whatever was understood is written so that it reads back unchanged.
    kstore::Model first, second;
    kstore::ParseStore(reinterpret_cast<const char*>(data), size, &first);
    std::string text = kstore::SerializeStore(first);
    kstore::ParseStore(text.data(), text.size(), &second);
    Check(!second.damaged, "the store's own text does not read back");
    Check(SameModel(first, second), "a rewrite changes the store");

    // The same bytes through the store's calls.
    const std::string store = gDir + "/registry.ini";
    Place(store, data, size);
    UseStore(store);
    std::set<std::string> before;
    Walk("", 0, &before);

    static const char kProbe[] = "x\n%y\\";
    Check(StoreCreateKey("SOFTWARE\\Kelmor"), "cannot create a key");
    Check(StoreSetValue("SOFTWARE\\Kelmor", "FuzzProbe", REG_EXPAND_SZ, kProbe, sizeof kProbe), "cannot write");

    // Read the result as a fresh process would: from a copy the cache has never seen.
    gchar* written = nullptr;
    gsize length = 0;
    Check(g_file_get_contents(store.c_str(), &written, &length, nullptr), "the written store is unreadable");
    const std::string copy = gDir + "/copy.ini";
    Place(copy, written, length);
    g_free(written);
    UseStore(copy);
    std::set<std::string> after;
    Walk("", 0, &after);
    if (before.size() < 400 && after.size() < 400) {
        for (const std::string& key : before) Check(after.count(key) != 0, "a write lost a key");
    }
    char buf[256];
    uint32_t got = sizeof buf;
    uint32_t kind = 0;
    Check(StoreQueryValue("software\\kelmor", "fuzzprobe", &kind, buf, &got), "the written value is missing");
    Check(kind == REG_EXPAND_SZ && got == sizeof kProbe && memcmp(buf, kProbe, got) == 0, "the written value changed");
    RemoveKeptFiles();
    return 0;
}
